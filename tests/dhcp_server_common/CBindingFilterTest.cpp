// Which of a client's leases may be extended where the client is now, on
// both database engines.
#include <gtest/gtest.h>

#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_server_common/CBindingFilter.h"
#include "dhcp_server_common/CDHCPAddrMgrStub.h"
#include "tests/dhcp_database/DHCPDatabaseFixture.h"
#include "tests/fixtures/StoreRecord.h"

namespace {

using Filter = CBindingFilter<CPrstAddressPool6, CPrstAddressBinding6>;

// Grants the rights the test sets, to every pool.
class CRightsAddrMgr : public CDHCPAddrMgrStub {
 public:
  CLeaseRights rights(int poolKind, long) override {
    EXPECT_EQ(poolKind, CIDHCPAddrMgr::addressPools);
    return granted;
  }
  CLeaseRights granted = CLeaseRights::renew;
};

class CBindingFilterTest : public DHCPDatabaseTest {
 protected:
  template <class Record>
  std::int32_t store(const std::string& text) {
    return storeRecord<Record>(*session, text);
  }
  std::int32_t pool(const std::string& name, const std::string& relays,
                    const std::string& more = "") {
    return store<CPrstAddressPool6>("name = " + name +
                                    "\nvalid_lt = 3600\nprefix_len = 64\n"
                                    "rangestart = 2001:db8:1::10\nrangestop = 2001:db8:1::ff\n"
                                    "relay = " +
                                    relays + "\ndomains = 2\n" + more);
  }
  // A lease of the client (IAID 1) for the address, in the pool (none: "").
  void lease(const std::string& address, const std::string& poolName, bool fixed = false) {
    store<CPrstAddressBinding6>(
        "client_id = 00-01-02\niatype = iana\niaid = 1\nlease_duration = 3600\ndomains = 2\n"
        "relay = 2001:db8:1::1\nipaddr = " +
        address + "\nfixed = " + (fixed ? "true" : "false") +
        (poolName.empty() ? std::string() : "\nsource_pool = " + poolName));
  }
  // The extensible leases for a client on link, as "address/pool" items.
  std::vector<std::string> extensible(const char* link) {
    CPrstTransaction tx(*session);
    CPoolFinder<CPrstAddressPool6> finder(&database->controller, *session);
    const auto token =
        std::make_shared<const CDeviceAccessToken>(CExtDomainID::allDevices, CAccessRights::read);
    const auto bindings = CPrstAddressBinding6::selectByKey(
        *session, token, CBinding6Identifier(nuv::CHexStore::parse("00-01-02"), CIAType::iana, 1));
    std::vector<Filter::Result> out;
    Filter("[test/0x001]", finder, addrMgr, &database->controller)
        .allExtensible(bindings, token, nuv::CIPAddress(link), out);
    std::vector<std::string> items;
    for (const auto& r : out)
      items.push_back(r.first->ipAddr().string() + "/" + (r.second ? r.second->name() : "-"));
    return items;
  }
  CRightsAddrMgr addrMgr;
};

using V = std::vector<std::string>;

}  // namespace

TEST_P(CBindingFilterTest, OnlyLeasesTheirPoolStillServesAreExtensible) {
  pool("lan", "2001:db8:1::1, ::");
  pool("off", "2001:db8:1::1", "enabled = false");
  const std::int32_t gone = pool("gone", "2001:db8:1::1");
  lease("2001:db8:1::20", "lan");
  lease("2001:db8:1::21", "off");
  lease("2001:db8:1::22", "gone", true);
  lease("2001:db8:1::23", "", true);  // a reservation outside every pool
  lease("2001:db8:9::24", "lan");     // the pool's range no longer holds it
  {
    CPrstTransaction tx(*session);
    auto p = session->findPK<CPrstAddressPool6>(gone);
    p->deletePersistent();
    p->commit();
    tx.commit();
  }
  EXPECT_EQ(extensible("2001:db8:1::1"), (V{"2001:db8:1::20/lan", "2001:db8:1::23/-"}));
  // A directly connected client is not held to the pool's relay list.
  EXPECT_EQ(extensible("::"), (V{"2001:db8:1::20/lan", "2001:db8:1::23/-"}));
  // On a link the pool does not serve, the lease is not available there.
  EXPECT_EQ(extensible("2001:db8:5::1"), V{"2001:db8:1::23/-"});
  EXPECT_TRUE(
      logged("Binding for client 00-01-02,iana,1 with address 2001:db8:1::20 is not "
             "available. The lease was issued for link 2001:db8:1::1, but the client "
             "is currently on link 2001:db8:5::1."));
  // Without the right to renew, only the lease without a pool stays.
  addrMgr.granted = CLeaseRights::create;
  EXPECT_EQ(extensible("2001:db8:1::1"), V{"2001:db8:1::23/-"});
}

TEST_P(CBindingFilterTest, NoLeasesNoResults) {
  EXPECT_EQ(extensible("2001:db8:1::1"), V{});
}

NUV_PRST_BACKENDS(CBindingFilterTest);
