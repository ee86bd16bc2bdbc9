// The address manager on a real SQLite database: what is free in a pool,
// and that no two threads' managers hand out the same address.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "dhcp6_server/CDHCP6Context.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_server_common/CDHCPStatsStub.h"
#include "dhcp_server_common/CNoAddressAvailException.h"
#include "oodb/CPrstTransaction.h"
#include "oodb_persistence/CIDatabaseInit.h"
#include "oodb_persistence/CPrstDBSession.h"
#include "plugins/addr_mgr/CAddrMgr.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/StoreRecord.h"

namespace {

class CTempController : public CRecordingController {
 public:
  std::string varDir() const override { return dir; }
  std::string dir;
};

class CAddrMgrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/nuv_addrmgr_XXXXXX";
    host.dir = mkdtemp(tmpl);
    ASSERT_TRUE(host.loadPlugin(std::string(NUV_PLUGIN_DIR) + "/sqlite_db.so"));
    host.openPlugins();
    context = std::make_unique<CDHCP6Context>(&host, true);
    context->dhcpMediator().optionFactory();
    session = CIDatabaseInit::find(host).openSession({&factory});
  }
  void TearDown() override {
    session.reset();
    context.reset();
    host.shutdownPlugins();
    std::filesystem::remove_all(host.dir);
  }
  template <class Record>
  std::int32_t store(const std::string& text) {
    return storeRecord<Record>(*session, text);
  }
  std::int32_t pool(const std::string& name, const std::string& start, const std::string& stop,
                    const std::string& more = "") {
    return store<CPrstAddressPool6>(
        "name = " + name + "\nvalid_lt = 3600\nprefix_len = 64\nrelay = ::\nrangestart = " + start +
        "\nrangestop = " + stop + "\n" + more);
  }
  // The next candidate of the pools, or the failure's text.
  std::string take(CAddrMgr& manager, std::vector<long> pools, int kind = 0) {
    nuv::CIPAddress address;
    long from = 0;
    try {
      manager.getPoolCandidate(kind, pools, address, from, stats);
    } catch (const CNoAddressAvailException& e) {
      return e.whatText();
    }
    return address.string() + " from " + std::to_string(from);
  }

  CTempController host;
  std::unique_ptr<CDHCP6Context> context;
  CPrstDHCP6ObjectAbstractFactory factory{nullptr};
  std::unique_ptr<CPrstDBSession> session;
  CPoolCandidates candidates;
  CDHCPStatsStub stats;
};

}  // namespace

TEST_F(CAddrMgrTest, FreeMeansNotLeasedOfferedExcludedOrReserved) {
  const std::int32_t lan =
      pool("lan", "2001:db8:1::10", "2001:db8:1::14", "xrange = 2001:db8:1::12-2001:db8:1::12");
  const std::string lease =
      "client_id = 00-01\niatype = iana\nlease_duration = 3600\ndomains = 2\nrelay = ::\n";
  store<CPrstAddressBinding6>(lease + "iaid = 1\nipaddr = 2001:db8:1::10\nsource_pool = lan");
  // An operator's reservation that names no pool.
  store<CPrstAddressBinding6>(lease + "iaid = 2\nipaddr = 2001:db8:1::11\nfixed = true");
  {
    CPrstTransaction tx(*session);
    auto offer = session->createTransient<CPrstAddressPending6>();
    offer->applyBindingID(CBinding6Identifier(nuv::CHexStore::parse("00-02"), CIAType::iana, 1));
    offer->offeredAddress(nuv::CIPAddress("2001:db8:1::13"));
    offer->relayAddress(nuv::CIPAddress("::"));
    offer->poolOID(lan);
    offer->offerTime(nuv::CTimeT::now());
    offer->commit();
    tx.commit();
  }
  CAddrMgr manager(*context, candidates);
  const std::string from = " from " + std::to_string(lan);
  EXPECT_EQ(take(manager, {lan}), "2001:db8:1::14" + from);
  EXPECT_EQ(take(manager, {lan}), "No free addresses available.");
  // Handed back, it is the one free address again.
  manager.releasePoolCandidate(0, nuv::CIPAddress("2001:db8:1::14"), lan, stats);
  EXPECT_EQ(take(manager, {lan}), "2001:db8:1::14" + from);
  EXPECT_EQ(manager.rights(0, lan).string(), "renew,create");
}

TEST_F(CAddrMgrTest, ThreadsShareReservationsAndPoolsAreTriedInOrder) {
  const std::int32_t small = pool("small", "2001:db8:1::10", "2001:db8:1::11");
  const std::int32_t off = pool("off", "2001:db8:2::10", "2001:db8:2::11", "enabled = false");
  const std::int32_t big = pool("big", "2001:db8:3::10", "2001:db8:3::ff");
  CAddrMgr one(*context, candidates), two(*context, candidates);
  EXPECT_EQ(take(one, {small, off, big}), "2001:db8:1::10 from " + std::to_string(small));
  EXPECT_EQ(take(two, {small, off, big}), "2001:db8:1::11 from " + std::to_string(small));
  // The first pool is taken, the disabled one is passed over.
  EXPECT_EQ(take(one, {small, off, big}), "2001:db8:3::10 from " + std::to_string(big));
  EXPECT_EQ(candidates.count(), 3u);
}

TEST_F(CAddrMgrTest, PrefixPoolsHandOutWholeDelegatedPrefixes) {
  const std::int32_t pd = store<CPrstNetworkPool6>(
      "name = pd\nvalid_lt = 3600\nrelay = ::\nprefix = 2001:db8::\nprefix_len = 48\n"
      "sub_prefix_len = 56\nrangestart = 2001:db8:0:100::\nrangestop = 2001:db8:0:200::");
  CAddrMgr manager(*context, candidates);
  const std::string from = " from " + std::to_string(pd);
  EXPECT_EQ(take(manager, {pd}, 1), "2001:db8:0:100::" + from);
  EXPECT_EQ(take(manager, {pd}, 1), "2001:db8:0:200::" + from);
  EXPECT_EQ(take(manager, {pd}, 1), "No free prefixes available.");
}
