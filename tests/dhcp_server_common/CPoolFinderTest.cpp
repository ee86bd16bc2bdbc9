// Pool selection on both database engines: the pools of a link as a
// device's token sees them, the usability filter, the local-segment check
// and the cache of pools by identity.
#include <gtest/gtest.h>

#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_server_common/CPool6Finder.h"
#include "dhcp_server_common/CPoolMap.h"
#include "tests/dhcp_database/DHCPDatabaseFixture.h"

namespace {

using Finder = CPoolFinder<CPrstAddressPool6>;
using V = std::vector<std::string>;

class CPoolFinderTest : public DHCPDatabaseTest {
 protected:
  // A pool of 2001:db8:<net>::/64 on the links, in the domains.
  std::int32_t pool(const std::string& name, int net, const std::string& relays,
                    const std::string& more = "", const std::string& domains = "2") {
    CPrstTransaction tx(*session);
    auto p = session->createTransient<CPrstAddressPool6>();
    const std::string prefix = "2001:db8:" + std::to_string(net) + "::";
    p->string("name = " + name + "\nvalid_lt = 3600\nprefix_len = 64\nrangestart = " + prefix +
              "10\nrangestop = " + prefix + "ff\nrelay = " + relays + "\ndomains = " + domains +
              "\n" + more);
    p->commit();
    tx.commit();
    return p.pk();
  }
  CNodeContext node(const char* local = "2001:db8:1::5") {
    CNodeContext n(context.get());
    n.localAddress(nuv::CIPAddress(local));
    n.token().grantAccess(CExtDomainID::allDevices, CAccessRights::read);
    return n;
  }
  V suitable(Finder& finder, const CNodeContext& n, const char* link, bool matchLocal = true) {
    CPrstTransaction tx(*session);
    CPool6Finder<CPrstAddressPool6> search(&database->controller, "[test/0x001]");
    V out;
    for (const auto& p : search.findSuitablePools(finder, n, nuv::CIPAddress(link), matchLocal))
      out.push_back(p->name());
    return out;
  }
};

}  // namespace

TEST_P(CPoolFinderTest, OnlyEnabledPoolsTheirSettingsAdmitAreCandidates) {
  pool("plain", 1, "2001:db8:1::1");
  pool("off", 1, "2001:db8:1::1", "enabled = false\nallow = [1 == 1]");
  pool("allowed", 1, "2001:db8:1::1", "allow = [1 == 1]");
  pool("not-allowed", 1, "2001:db8:1::1", "allow = [1 == 2]");
  pool("allow-text", 1, "2001:db8:1::1", "allow = [\"yes\"]");
  pool("not-denied", 1, "2001:db8:1::1", "deny = [1 == 2]");
  pool("denied", 1, "2001:db8:1::1", "deny = [2 > 1]");
  pool("deny-text", 1, "2001:db8:1::1", "deny = [\"no\"]");
  pool("elsewhere", 2, "2001:db8:2::1");
  pool("hidden", 1, "2001:db8:1::1", "", "7");
  Finder finder(&database->controller, *session);
  EXPECT_EQ(suitable(finder, node(), "2001:db8:1::1"), (V{"plain", "allowed", "not-denied"}));
  for (const char* line :
       {"Discarding inactive pool 'off'.",
        "The 'allow' setting for pool 'not-allowed' evaluates to 'false'. Access is denied for "
        "this reason.",
        "The 'allow' setting for pool 'allow-text' does not evaluate to a boolean result. Access "
        "is denied for this reason.",
        "The 'deny' setting for pool 'denied' evaluates to 'true'. Access is denied for this "
        "reason.",
        "The 'deny' setting for pool 'deny-text' does not evaluate to a boolean result. Access is "
        "denied for this reason.",
        "[test/0x001] Searching for pools by link (relay) address 2001:db8:1::1."})
    EXPECT_TRUE(logged(line)) << line;
}

TEST_P(CPoolFinderTest, DirectlyConnectedClientsGetThePoolsOfTheReceivingNetwork) {
  pool("here", 1, "::");
  pool("there", 2, "::");
  pool("relayed", 3, "2001:db8:3::1");
  Finder finder(&database->controller, *session);
  EXPECT_EQ(suitable(finder, node("2001:db8:1::5"), "::"), V{"here"});
  EXPECT_TRUE(
      logged("[test/0x001] Discarding local segment pool there; pool network does not "
             "match any locally attached network."));
  EXPECT_EQ(suitable(finder, node("2001:db8:1::5"), "::", false), (V{"here", "there"}));
  // A relayed client is never held to the receiving network.
  EXPECT_EQ(suitable(finder, node("2001:db8:1::5"), "2001:db8:3::1"), V{"relayed"});
}

TEST_P(CPoolFinderTest, CacheHoldsAtMostItsLimitAndShowsOnlyTheCallersDomains) {
  const std::int32_t a = pool("a", 1, "::"), b = pool("b", 2, "::"), c = pool("c", 3, "::");
  const std::int32_t other = pool("other", 4, "::", "", "7");
  database->config().set("ipv6.dhcpv6.engine.pool_cache_size", "2");
  Finder finder(&database->controller, *session);
  finder.refreshConfig();
  const auto devices =
      std::make_shared<const CDeviceAccessToken>(CExtDomainID::allDevices, CAccessRights::read);
  CPrstTransaction tx(*session);
  for (int round = 0; round < 2; ++round)
    for (std::int32_t oid : {a, b, c}) EXPECT_TRUE(finder.findPool("[t]", oid, devices)) << oid;
  EXPECT_EQ(finder.cacheCount(), 2u);  // the third is fetched every time
  EXPECT_FALSE(finder.findPool("[t]", 0, devices));
  EXPECT_FALSE(finder.findPool("[t]", other, devices));  // cached or not, not the caller's
  EXPECT_FALSE(finder.findPool("[t]", 9999, devices));

  // A full reload stops at the limit; a pool gone is dropped on its refresh.
  finder.refresh(-1);
  EXPECT_EQ(finder.cacheCount(), 2u);
  session->findPK<CPrstAddressPool6>(a)->deletePersistent();
  session->findPK<CPrstAddressPool6>(a)->commit();
  EXPECT_FALSE(finder.refresh(a));
  EXPECT_EQ(finder.cacheCount(), 1u);

  // Without a cache every lookup asks the database, token-checked.
  Finder uncached(&database->controller, *session);
  EXPECT_EQ(uncached.findPool("[t]", b, devices)->name(), "b");
  EXPECT_FALSE(uncached.findPool("[t]", other, devices));
  EXPECT_EQ(uncached.cacheCount(), 0u);
}

TEST(CPoolMapTest, TextIsTheIdentitiesInAscendingOrder) {
  CPoolMap<CPrstAddressPool6> map;
  EXPECT_EQ(map.string(), "");
  for (std::int32_t oid : {40, 12, 15}) map[oid];
  EXPECT_EQ(map.string(), "12,15,40");
}

NUV_PRST_BACKENDS(CPoolFinderTest);
