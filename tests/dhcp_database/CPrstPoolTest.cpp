#include <gtest/gtest.h>

#include "dhcp_base/COptionStore.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_database/CPrstPool.h"
#include "standard/StringUtil.h"
#include "tests/dhcp_database/DHCPDatabaseFixture.h"
#include "tests/fixtures/FailureOf.h"
#include "tests/fixtures/TextFormRefusals.h"

using A = nuv::CIPAddress;

class CPrstPoolTest : public DHCPDatabaseTest {
 protected:
  CPrstUserClassPtr<CPrstAddressPool6> makePool(std::unique_ptr<CPrstDBSession>& s) {
    CPrstTransaction tx(*s);
    auto p = s->createTransient<CPrstAddressPool6>();
    p->_set(
        keys("name = lan\nvalid_lt = 3600\nrangestart = 2001:db8:1::10\n"
             "rangestop = 2001:db8:1::ff\nprefix_len = 64\n"
             "relay = 2001:db8:1::1, ::\nxrange = 2001:db8:1::20-2001:db8:1::2f\n"
             "domains = 5\nallow = [1 == 1]\n"
             "options = dns-servers = 2001:db8::53, 2001:db8::54\n"));
    p->commit();
    tx.commit();
    return p;
  }
  static nuv::CStringMap keys(const std::string& lines) {
    nuv::CStringMap m(false);
    for (const auto& line : nuv::split(lines, '\n')) {
      const auto eq = line.find('=');
      if (eq != std::string::npos)
        m.set(nuv::trim(line.substr(0, eq)), nuv::trim(line.substr(eq + 1)));
    }
    return m;
  }
};

TEST_P(CPrstPoolTest, RangeExclusionsRelaysAndOptionsAreStoredWithThePool) {
  const std::int32_t pk = makePool(session).pk();
  auto s = openSession();
  auto pool = s->findPK<CPrstAddressPool6>(pk);
  EXPECT_EQ(pool->name(), "lan");
  EXPECT_EQ(pool->range().start(), A("2001:db8:1::10"));
  EXPECT_EQ(pool->range().stop(), A("2001:db8:1::ff"));
  EXPECT_EQ(pool->prefix(), A("2001:db8:1::"));  // the range's network
  EXPECT_EQ(pool->relays(), (std::vector<A>{A("2001:db8:1::1"), A("::")}));
  ASSERT_EQ(pool->xrange().size(), 1u);
  EXPECT_TRUE(pool->excluded(A("2001:db8:1::2f")));
  EXPECT_FALSE(pool->excluded(A("2001:db8:1::30")));
  EXPECT_EQ(pool->optionStore().string(), "dns-servers = \"2001:db8::53\", \"2001:db8::54\"\n");
  EXPECT_EQ(pool->allow().text(), "[1 == 1]");
  EXPECT_EQ(pool->domainMemberships().string(), "5");
  EXPECT_TRUE(pool->active());

  // The relay order is kept through replacing one in place and appending.
  {
    CPrstTransaction tx(*s);
    pool->relay(0, A("2001:db8:9::1"));
    pool->relay(2, A("2001:db8:7::1"));
    pool->range(A("2001:db8:1::100"), A("2001:db8:1::1ff"));
    pool->commit();
    tx.commit();
  }
  auto third = openSession();
  auto again = third->findPK<CPrstAddressPool6>(pk);
  EXPECT_EQ(again->relays(), (std::vector<A>{A("2001:db8:9::1"), A("::"), A("2001:db8:7::1")}));
  EXPECT_EQ(again->relay(2), A("2001:db8:7::1"));
  EXPECT_TRUE(again->containsRelay(A("::")));
  EXPECT_FALSE(again->containsRelay(A("2001:db8:9::")));  // exact match only
  EXPECT_EQ(again->range().start(), A("2001:db8:1::100"));
}

TEST_P(CPrstPoolTest, PartialCommitWritesThePoolRowOnlyAndDeleteTakesOwnedRows) {
  auto pool = makePool(session);
  const std::int32_t rangePK = pool->rangePtr().pk();
  {
    CPrstTransaction tx(*session);
    pool->description("partial");
    pool->relay(0, A("2001:db8:5::1"));  // an owned row: not written by a partial commit
    pool->fastPartialCommit();
    tx.commit();
  }
  auto other = openSession();
  auto seen = other->findPK<CPrstAddressPool6>(pool.pk());
  EXPECT_EQ(seen->description(), "partial");
  EXPECT_EQ(seen->relay(0), A("2001:db8:1::1"));

  {
    CPrstTransaction tx(*session);
    pool->deletePersistent();
    pool->commit();
    tx.commit();
  }
  auto third = openSession();
  EXPECT_FALSE(third->find("CPrstAddressPool6", pool.pk()));
  EXPECT_FALSE(third->find("CPrstDHCPIPAddressRange", rangePK));
  EXPECT_EQ(third->select<CPrstIPAddress>("generic.all").size(), 0u);
}

TEST_P(CPrstPoolTest, RelayQueriesReturnWhatTheTokenMaySee) {
  makePool(session);
  auto byRelay = [&](CDomainID domain, const char* link) {
    return CPrstAddressPool6::selectByRelay(*session, token(domain), A(link)).size();
  };
  EXPECT_EQ(byRelay(5, "2001:db8:1::1"), 1u);
  EXPECT_EQ(byRelay(5, "::"), 1u);
  EXPECT_EQ(byRelay(5, "2001:db8:1::2"), 0u);
  EXPECT_EQ(byRelay(6, "2001:db8:1::1"), 0u);  // no right in the pool's domain
  EXPECT_EQ(CPrstNetworkPool6::selectByRelay(*session, token(5), A("::")).size(), 0u);
  EXPECT_EQ(CPrstAddressPool6::selectByName(*session, token(5), "lan").size(), 1u);
  EXPECT_EQ(CPrstAddressPool6::selectByNameUnsecured(*session, "lan").size(), 1u);
  const auto oid = CPrstAddressPool6::selectByNameUnsecured(*session, "lan")[0]->identity();
  EXPECT_EQ(CPrstAddressPool6::selectByOID(*session, token(5), oid).size(), 1u);
  EXPECT_EQ(CPrstAddressPool6::selectByOID(*session, token(7), oid).size(), 0u);
  EXPECT_EQ(CPrstAddressPool6::selectByPrefix(*session, token(5), A("2001:db8:1::40")).size(), 1u);
}

TEST_P(CPrstPoolTest, PreferredLifetimeFollowsTheValidLifetime) {
  auto pool = session->createTransient<CPrstAddressPool6>();
  // {valid, stored preferred (set raw through the text form), reported}
  struct Case {
    std::uint32_t valid, set, reported;
  } derived[] = {{3600, 0, 1800},
                 {1, 0, 1},
                 {0, 0, 0},
                 {3600, 900, 900},
                 {3600, 7200, 1800},
                 {1, 7, 1},
                 {CPrstPool::kInfinite, CPrstPool::kInfinite, CPrstPool::kInfinite}};
  for (const auto& c : derived) {
    pool->validLifetime(c.valid);
    pool->prefLifetime(c.set);
    EXPECT_EQ(pool->prefLifetime(), c.reported) << c.valid << "/" << c.set;
  }
  pool->validLifetime(CPrstPool::kInfinite);
  EXPECT_NE(pool->string().find("valid_lt = infinite\n"), std::string::npos);
}

TEST_P(CPrstPoolTest, AddressPoolsFixTheSubPrefixLength) {
  auto pool = session->createTransient<CPrstAddressPool6>();
  EXPECT_EQ(pool->subPrefixLen(), 128u);
  pool->subPrefixLen(128);
  EXPECT_EQ(failureOf([&] { pool->subPrefixLen(64); }),
            (Failure{"dhcp_database", "CPrstAddressPool::subPrefixLen",
                     "Unable to set sub-prefix length.",
                     "The sub-prefix length is fixed at 128 for address bindings."}));
  auto npool = session->createTransient<CPrstNetworkPool6>();
  npool->subPrefixLen(56);
  EXPECT_EQ(npool->subPrefixLen(), 56u);
}

TEST_P(CPrstPoolTest, TextFormValidation) {
  using textform::with;
  using textform::without;
  const std::string good =
      "name = p\nvalid_lt = 3600\nrangestart = 2001:db8::10\nrangestop = 2001:db8::20\n"
      "relay = 2001:db8::1\nprefix_len = 64\n";
  const std::string pd =
      "name = p\nvalid_lt = 3600\nrangestart = 2001:db8:0:100::\nrangestop = 2001:db8:0:f00::\n"
      "relay = 2001:db8::1\nprefix = 2001:db8::\nprefix_len = 48\nsub_prefix_len = 56\n";
  const char* a = "CPrstAddressPool6";
  const char* n = "CPrstNetworkPool6";
  const char* pool = "Cannot set pool record from text.";
  const char* apool = "Cannot set address pool record from text.";
  const char* npool = "Cannot set network pool record from text.";
  // Each bad address key with the text that replaces it and the reason.
  const struct {
    const char* key;
    const char* line;
    const char* why;
  } addresses[] = {
      {"rangestart", "rangestart = ::1", "Key 'rangestart' specifies a node-local address."},
      {"rangestart", "rangestart = fe80::1", "Key 'rangestart' specifies a link-local address."},
      {"rangestop", "rangestop = ::1", "Key 'rangestop' specifies a node-local address."},
      {"rangestop", "rangestop = fe80::2", "Key 'rangestop' specifies a link-local address."},
      {"rangestop", "rangestop = 2001:db8::1",
       "Values for keys 'rangestart' and 'rangestop' are reversed."},
      {"rangestart", "rangestart = 10.0.0.1", "Incorrect ip address type for key 'rangestart'."},
      {"rangestop", "rangestop = nonsense", "Incorrect ip address type for key 'rangestop'."},
      {"rangestop", "rangestop = 2001:db8:0:1::20",
       "Values for keys 'rangestart' and 'rangestop' are not on the same network."},
      {"relay", "relay = 2001:db8::1, 10.1.1.1", "Incorrect ip address type for key 'relay'."},
      {"valid_lt", "valid_lt = forever", "Invalid or missing 'valid_lt' key."},
  };
  std::vector<textform::Refusal> cases = {
      {a, without(good, "name"), pool, "Missing 'name' key."},
      {a, without(good, "rangestart"), pool, "Missing 'rangestart' key."},
      {a, without(good, "rangestop"), pool, "Missing 'rangestop' key."},
      {a, without(good, "relay"), pool, "Missing 'relay' key."},
      {a, without(good, "valid_lt"), pool, "Invalid or missing 'valid_lt' key."},
      {a, without(good, "prefix_len"), apool, "Missing 'prefix_len' key."},
      {a, with(good, "prefix = 2001:db9::"), apool,
       "The 'prefix' network does not appear to encompass the 'rangestart' value."},
      {n, without(pd, "prefix"), npool, "Missing 'prefix' key."},
      {n, without(pd, "prefix_len"), npool, "Missing 'prefix_len' key."},
      {n, without(pd, "sub_prefix_len"), npool, "Missing 'sub_prefix_len' key."},
      {a, with(good, "option = dns-servers ="), pool,
       "Option 'dns-servers' would be sent malformed. Buffer is too short to represent this "
       "option."},
  };
  for (const auto& c : addresses)
    cases.push_back({a, with(without(good, c.key), c.line), pool, c.why});
  textform::expectRefused(*session, cases);
  // The accepted forms; rangesize counts delegated prefixes of a prefix pool.
  auto ap = session->createTransient<CPrstAddressPool6>();
  ap->string(good);
  EXPECT_NE(ap->string().find("rangesize = 17\n"), std::string::npos);
  auto np = session->createTransient<CPrstNetworkPool6>();
  np->string(with(without(pd, "rangestop"), "rangesize = 4"));
  EXPECT_EQ(np->range().stop(), A("2001:db8:0:400::"));
  EXPECT_NE(np->string().find("rangesize = 4\n"), std::string::npos);
}

TEST_P(CPrstPoolTest, TextFormRoundTripsThroughAnotherPool) {
  auto pool = makePool(session);
  auto withoutModTime = [](std::string text) {
    const auto at = text.find("mod_time = ");
    return text.erase(at, text.find('\n', at) + 1 - at);
  };
  const std::string text = pool->string();
  auto copy = session->createTransient<CPrstAddressPool6>();
  copy->string(text);
  EXPECT_EQ(withoutModTime(copy->string()), withoutModTime(text));
  EXPECT_NE(text.find("option = dns-servers = "), std::string::npos);
  // A stored pool takes single keys: one option replaced, then removed,
  // domains adjusted.
  pool->_set(keys("option = dns-servers = 2001:db8::99\ndomains+ = 7\ndomains- = 5"));
  EXPECT_EQ(pool->optionStore().string(), "dns-servers = \"2001:db8::99\"\n");
  EXPECT_EQ(pool->domainMemberships().string(), "7");
  pool->_set(keys("-option = dns-servers"));
  EXPECT_EQ(pool->optionStore().string(), "");
}

NUV_PRST_BACKENDS(CPrstPoolTest);
