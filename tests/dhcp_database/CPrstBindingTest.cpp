#include <gtest/gtest.h>

#include "dhcp_base/COptionStore.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstBinding.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "tests/dhcp_database/DHCPDatabaseFixture.h"
#include "tests/fixtures/FailureOf.h"
#include "tests/fixtures/TextFormRefusals.h"

using A = nuv::CIPAddress;

namespace {

const CBinding6Identifier kKey(nuv::CHexStore::parse("00-01-00-01-AA-BB"), CIAType::iana,
                               4294967295u);

}  // namespace

class CPrstBindingTest : public DHCPDatabaseTest {
 protected:
  CPrstUserClassPtr<CPrstAddressBinding6> makeBinding(const char* address, const char* relay) {
    auto b = session->createTransient<CPrstAddressBinding6>();
    b->applyBindingID(kKey);
    b->ipAddr(A(address));
    b->ipRelay(A(relay));
    b->leaseCommitTime(nuv::CTimeT(1000));
    b->leaseDuration(3600);
    b->domainMemberships({5});
    b->commit();
    return b;
  }
};

TEST_P(CPrstBindingTest, ExpiryMovesWithCommitTimeAndDuration) {
  auto b = session->createTransient<CPrstAddressBinding6>();
  b->leaseCommitTime(nuv::CTimeT(1000));
  b->leaseDuration(0);
  EXPECT_EQ(b->leaseExpireTime(), nuv::CTimeT(1000));
  b->leaseDuration(600);
  EXPECT_EQ(b->leaseExpireTime(), nuv::CTimeT(1600));
  b->leaseCommitTime(nuv::CTimeT(5000));
  EXPECT_EQ(b->leaseExpireTime(), nuv::CTimeT(5600));
  b->leaseDuration(CPrstBinding::kInfinite);
  EXPECT_EQ(b->leaseExpireTime(), nuv::CTimeT(5000 + 4294967295LL));

  const nuv::CTimeT now = nuv::CTimeT::now();
  b->leaseCommitTime(now - 100);
  b->leaseDuration(60);
  EXPECT_NEAR(static_cast<double>(b->remainingLeaseTime()), -40, 2);

  // Grace: tolerance, or duration * percent / 100 when larger (unless
  // skipped), then no earlier than commit + minimum inactive days.
  b->leaseCommitTime(nuv::CTimeT(0));
  b->leaseDuration(1000);
  EXPECT_EQ(b->gracefulLeaseExpireTime(0, 10, 50, false), nuv::CTimeT(1500));
  EXPECT_EQ(b->gracefulLeaseExpireTime(0, 10, 50, true), nuv::CTimeT(1010));
  EXPECT_EQ(b->gracefulLeaseExpireTime(0, 900, 50, false), nuv::CTimeT(1900));
  EXPECT_EQ(b->gracefulLeaseExpireTime(1, 10, 50, false), nuv::CTimeT(86400));
}

TEST_P(CPrstBindingTest, FoundByKeyAndRelayWithIaid4294967295) {
  {
    CPrstTransaction tx(*session);
    makeBinding("2001:db8::10", "2001:db8::1");
    makeBinding("2001:db8::11", "::");
    tx.commit();
  }
  auto s = openSession();
  auto found = CPrstAddressBinding6::selectByKeyAndRelay(*s, token(5), kKey, A("2001:db8::1"));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0]->ipAddr(), A("2001:db8::10"));
  auto id = found[0]->createIdentifier();
  EXPECT_TRUE(*id == kKey);
  EXPECT_EQ(found[0]->leaseExpireTime(), nuv::CTimeT(4600));
  EXPECT_EQ(CPrstAddressBinding6::selectByKey(*s, token(5), kKey).size(), 2u);
  EXPECT_EQ(CPrstAddressBinding6::selectByKey(*s, token(6), kKey).size(), 0u);
  EXPECT_EQ(CPrstAddressBinding6::selectByKeyAndAddr(*s, token(5), kKey, A("2001:db8::11")).size(),
            1u);
  EXPECT_EQ(CPrstAddressBinding6::selectByAddr(*s, token(5), A("2001:db8::11")).size(), 1u);
  CBinding6Identifier other = kKey;
  other.IAID(1);
  EXPECT_EQ(CPrstAddressBinding6::selectByKey(*s, token(5), other).size(), 0u);
  EXPECT_EQ(CPrstNetworkBinding6::selectByKey(*s, token(5), kKey).size(), 0u);
  EXPECT_EQ(CPrstAddressBinding6::selectExpired(*s, nuv::CTimeT(4600), nuv::CTimeT(4601)).size(),
            2u);
  EXPECT_EQ(found[0]->tidCount(0, ""), 2);
}

TEST_P(CPrstBindingTest, APendingBecomesABindingAndIsDeleted) {
  CPrstTransaction tx(*session);
  auto pool = session->createTransient<CPrstNetworkPool6>();
  pool->name("pd");
  pool->commit();
  auto offer = session->createTransient<CPrstNetworkPending6>();
  CBinding6Identifier pd = kKey;
  pd.IAType(CIAType::iapd);
  offer->applyBindingID(pd);
  offer->offeredAddress(A("2001:db8:0:100::"));
  offer->prefixLen(56);
  offer->relayAddress(A("2001:db8::1"));
  offer->poolOID(pool->identity());
  offer->offerTime(nuv::CTimeT::now());
  offer->commit();
  tx.commit();

  CPrstTransaction claim(*session);
  auto found = CPrstNetworkPending6::selectByKeyAndRelay(*session, pd, A("2001:db8::1"));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_LE(found[0]->age(), 1);
  auto lease = session->createTransient<CPrstNetworkBinding6>();
  lease->copyFromPending(*found[0]);
  lease->leaseCommitTime(nuv::CTimeT::now());
  lease->leaseDuration(pool->validLifetime());
  lease->commit();
  found[0]->deletePersistent();
  found[0]->commit();
  claim.commit();

  auto s = openSession();
  EXPECT_EQ(CPrstNetworkPending6::selectByKeyAndRelay(*s, pd, A("2001:db8::1")).size(), 0u);
  auto stored = s->findPK<CPrstNetworkBinding6>(lease.pk());
  EXPECT_EQ(stored->prefixLen(), 56u);
  EXPECT_EQ(stored->bootProto(), "dhcpv6");
  EXPECT_EQ(stored->poolOID(), pool->identity());
  EXPECT_EQ(stored->ipRelay(), A("2001:db8::1"));
  EXPECT_TRUE(*stored->createIdentifier() == pd);
  // The text form names the pool.
  EXPECT_NE(stored->string().find("source_pool = pd\n"), std::string::npos);
}

TEST_P(CPrstBindingTest, TextFormValidation) {
  using textform::with;
  using textform::without;
  const std::string good =
      "ipaddr = 2001:db8::10\nrelay = ::\nlease_duration = 3600\nclient_id = 00-01\n"
      "iaid = 1\niatype = iana\n";
  const std::string prefix =
      "ipaddr = 2001:db8:0:100::\ngiaddr = 2001:db8::1\nlease_duration = infinite\nduid = 00-01\n"
      "iaid = 1\niatype = iapd\nprefix_len = 56\n";
  const char* a = "CPrstAddressBinding6";
  const char* n = "CPrstNetworkBinding6";
  const char* missing = "Failed to set a binding record from text.";
  const char* bad = "Cannot set binding record from text.";
  textform::expectRefused(
      *session, {
                    {a, without(good, "ipaddr"), missing, "Missing 'ipaddr' key."},
                    {a, without(good, "lease_duration"), missing, "Missing 'lease_duration' key."},
                    {a, without(good, "client_id"), missing, "Missing 'client_id' key."},
                    {n, without(prefix, "duid"), missing, "Missing 'duid' key."},
                    {a, without(good, "iaid"), missing, "Missing 'iaid' key."},
                    {a, without(good, "iatype"), missing, "Missing 'iatype' key."},
                    {n, without(prefix, "prefix_len"), missing, "Missing 'prefix_len' key."},
                    {a, with(without(good, "ipaddr"), "ipaddr = 10.0.0.1"), bad,
                     "Incorrect ip address type for key 'ipaddr'."},
                    {a, without(good, "relay"), bad, "Missing 'relay' key."},
                    {n, with(without(prefix, "giaddr"), "giaddr = 10.0.0.1"), bad,
                     "Incorrect ip address type for key 'relay' (giaddr)."},
                });

  auto lease = session->createTransient<CPrstNetworkBinding6>();
  lease->string(with(with(prefix, "lease_commit = 2024-02-29 13:05:09"), "tid_type = CID "));
  EXPECT_EQ(lease->tidType().value(), CDHCPTIDType::cid);
  EXPECT_EQ(lease->ipRelay(), A("2001:db8::1"));
  EXPECT_EQ(lease->leaseDuration(), CPrstBinding::kInfinite);
  EXPECT_EQ(lease->prefixLen(), 56u);
  const std::string text = lease->string();
  EXPECT_NE(text.find("lease_duration = infinite\n"), std::string::npos);
  EXPECT_NE(text.find("iatype = iapd\n"), std::string::npos);
  EXPECT_NE(text.find("tid_type = cid\n"), std::string::npos);
  EXPECT_NE(text.find("lease_commit = 2024-02-29 13:05:09\n"), std::string::npos);
  auto copy = session->createTransient<CPrstNetworkBinding6>();
  copy->string(text);
  EXPECT_EQ(copy->string(), text);
  EXPECT_EQ(failureOf([&] { copy->string(text + "source_pool = nowhere\n"); }).why,
            "Pool 'nowhere' does not exist.");
}

TEST_P(CPrstBindingTest, PendingsAreNeverSetFromText) {
  auto p = session->createTransient<CPrstAddressPending6>();
  EXPECT_EQ(failureOf([&] { p->string("ipaddr = 2001:db8::1"); }),
            (Failure{"dhcp_database", "CPrstPending::_set",
                     "Cannot set a pending record from text.", "This operation is not allowed."}));
  p->applyBindingID(kKey);
  EXPECT_NE(p->string().find("iaid = 4294967295\n"), std::string::npos);
}

TEST_P(CPrstBindingTest, AnOffersAgeIsJudgedByTheCallersClock) {
  {
    CPrstTransaction tx(*session);
    for (std::uint32_t at : {1000u, 2000u, 3000u}) {
      auto p = session->createTransient<CPrstAddressPending6>();
      CBinding6Identifier id = kKey;
      id.IAID(at);
      p->applyBindingID(id);
      p->offeredAddress(A("2001:db8::1") + at);
      p->relayAddress(A("::"));
      p->offerTime(nuv::CTimeT(at));
      p->commit();
    }
    tx.commit();
  }
  // Whatever the database server's clock says.
  struct Case {
    std::int64_t now;
    std::uint32_t minAge;
    std::vector<std::int64_t> offered;
  } cases[] = {
      {2009, 10, {1000}},
      {2010, 10, {1000, 2000}},
      {5000, 10, {1000, 2000, 3000}},
      {999, 0, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::int64_t> offered;
    for (const auto& p :
         CPrstAddressPending6::selectMinAge(*session, c.minAge, 10, nuv::CTimeT(c.now)))
      offered.push_back(p->offerTime().get());
    EXPECT_EQ(offered, c.offered) << c.now;
  }
}

NUV_PRST_BACKENDS(CPrstBindingTest);

TEST_P(CPrstBindingTest, HostCountSeesAddressBindingsOnly) {
  EXPECT_EQ(session->selectCount("abinding6.count", nuv::CStringMap()), 0);
  CPrstTransaction tx(*session);
  makeBinding("2001:db8::10", "2001:db8::1");
  makeBinding("2001:db8::11", "2001:db8::1");
  auto prefix = session->createTransient<CPrstNetworkBinding6>();
  CBinding6Identifier pd = kKey;
  pd.IAType(CIAType::iapd);
  prefix->applyBindingID(pd);
  prefix->ipAddr(A("2001:db8:0:100::"));
  prefix->prefixLen(56);
  prefix->commit();
  tx.commit();
  EXPECT_EQ(session->selectCount("abinding6.count", nuv::CStringMap()), 2);
}
