// The periodic collection of offers that were never taken.
#include <functional>
#include <utility>

#include "dhcp6_server/CCmdGarbageCollectPendings6.h"
#include "dhcp_server_common/CDHCPAddrMgrStub.h"
#include "extended/CDHCPMetricEnums.h"
#include "extended/CIDHCPStats.h"
#include "oodb_persistence/CIDatabaseInit.h"
#include "tests/dhcp6_server/ServedExchangeFixture.h"
#include "tests/fixtures/SecondTick.h"

using namespace served;

namespace {

// Counts what is handed back, and can be told to fail.
class CCountingAddrMgr : public CPlugin, public CIDHCPAddrMgrFactory, public CDHCPAddrMgrStub {
 public:
  std::string pluginName() const override { return "counting address manager"; }
  std::string pluginInterface() const override { return "CIDHCPAddrMgrFactory,CPlugin"; }
  std::shared_ptr<CIDHCPAddrMgr> createAddrMgr(CIDHCPContext&) override {
    return std::shared_ptr<CIDHCPAddrMgr>(std::shared_ptr<void>(), this);
  }
  void releasePoolCandidate(int kind, const nuv::CIPAddress& address, long pool,
                            CIDHCPStats&) override {
    released.push_back(std::to_string(kind) + " " + address.string() + " " + std::to_string(pool));
  }
  std::vector<std::string> released;
};

// The thread's counters; counting a recalled offer fails with a foreign
// exception when told to, while the collection's transaction is open.
class CFailingStats : public CPlugin, public CIDHCPStatsFactory, public CIDHCPStats {
 public:
  std::string pluginName() const override { return "failing stats"; }
  std::string pluginInterface() const override { return "CIDHCPStatsFactory,CPlugin"; }
  std::shared_ptr<CIDHCPStats> createStats(const CDHCPMeasurementSpec&) override {
    return std::shared_ptr<CIDHCPStats>(std::shared_ptr<void>(), this);
  }
  void inc(std::int32_t metric) override {
    if (metric != CDHCPMetricEnums::recalledOffer) return;
    if (fail) throw std::runtime_error("no count");
    if (onRecall) std::exchange(onRecall, nullptr)();
  }
  void set(std::int32_t, std::uint64_t) override {}
  void sample() override {}
  bool fail = false;
  // Run once, at the next offer recalled.
  std::function<void()> onRecall;
};

struct CollectionFixture : ServedExchangeFixture {
  void morePlugins() override {
    addrMgr = new CCountingAddrMgr;
    host.plugins().addPlugin(addrMgr, deleteTestPlugin, nullptr, "addrmgr");
    stats = new CFailingStats;
    host.plugins().addPlugin(stats, deleteTestPlugin, nullptr, "stats");
  }
  template <class Finder>
  void offer(Finder& finder, std::uint32_t iaid, long age, const char* address) {
    auto pending = finder.createPending();
    pending->applyBindingID(CBinding6Identifier(nuv::CHexStore::parse("00-03"),
                                                iaid >= 100 ? CIAType::iapd : CIAType::iana, iaid));
    pending->offeredAddress(nuv::CIPAddress(address));
    pending->relayAddress(nuv::CIPAddress("::"));
    pending->poolOID(static_cast<std::int32_t>(iaid));
    pending->offerTime(nuv::CTimeT(nuv::CTimeT::now().seconds() - age));
    pending->commit();
  }
  std::size_t left() {
    tls->startTransaction();
    const std::size_t n = tls->apendingFinder().findPending(0, 100).size() +
                          tls->npendingFinder().findPending(0, 100).size();
    tls->commitTransaction();
    return n;
  }
  void collect() {
    bool done = false;
    CCmdGarbageCollectPendings6 command(pool, CExtAsyncResult<bool>(&host, &done));
    host.logSink.lines.clear();
    command.execute(0);
  }
  CCountingAddrMgr* addrMgr = nullptr;
  CFailingStats* stats = nullptr;
};

}  // namespace

TEST_P(CollectionFixture, StaleOffersAreRemovedAndTheirAddressesReleasedAfterCommit) {
  startAfterSecondTick();
  tls->startTransaction();
  offer(tls->apendingFinder(), 1, 10, "2001:db8:1::1");
  offer(tls->apendingFinder(), 2, 60, "2001:db8:1::2");
  offer(tls->apendingFinder(), 3, 9, "2001:db8:1::3");  // still fresh
  offer(tls->npendingFinder(), 100, 30, "2001:db8:100::");
  tls->commitTransaction();

  collect();
  EXPECT_TRUE(
      logged("info: The server has recalled 2 offered addresses and 1 offered prefixes "
             "that were never accepted."));
  // Oldest first, addresses before prefixes.
  EXPECT_EQ(addrMgr->released, (std::vector<std::string>{"0 2001:db8:1::2 2", "0 2001:db8:1::1 1",
                                                         "1 2001:db8:100:: 100"}));
  EXPECT_EQ(left(), 1u);
  EXPECT_EQ(tls->syncCommands().size(), 0u);

  // Nothing stale: nothing said, nothing released.
  addrMgr->released.clear();
  collect();
  EXPECT_FALSE(logged("The server has recalled"));
  EXPECT_TRUE(addrMgr->released.empty());
}

TEST_P(CollectionFixture, AnyFailureUndoesTheRunAndReleasesNothing) {
  tls->startTransaction();
  offer(tls->apendingFinder(), 1, 60, "2001:db8:1::1");
  offer(tls->apendingFinder(), 2, 30, "2001:db8:1::2");
  tls->commitTransaction();

  // A failure that is not one of ours still ends the transaction, then
  // goes up to the worker task.
  stats->fail = true;
  bool done = false;
  CCmdGarbageCollectPendings6 command(pool, CExtAsyncResult<bool>(&host, &done));
  EXPECT_THROW(command.execute(0), std::runtime_error);
  stats->fail = false;
  EXPECT_TRUE(addrMgr->released.empty());
  EXPECT_EQ(tls->syncCommands().size(), 0u);
  EXPECT_EQ(left(), 2u);  // and the transaction is closed: left() opens one

  collect();
  EXPECT_EQ(left(), 0u);
  EXPECT_EQ(addrMgr->released,
            (std::vector<std::string>{"0 2001:db8:1::1 1", "0 2001:db8:1::2 2"}));
}

// Servers sharing the database: another one offers again an offer that
// this run is about to remove. The run removes nothing and says so without
// an error; the next one removes what is still stale.
TEST_P(CollectionFixture, AnOfferAnotherServerChangedMeanwhileIsLeftAlone) {
  if (GetParam() != "pgsql") GTEST_SKIP() << "SQLite has one writer at a time";
  tls->startTransaction();
  offer(tls->apendingFinder(), 1, 60, "2001:db8:1::1");
  offer(tls->apendingFinder(), 2, 30, "2001:db8:1::2");
  tls->commitTransaction();
  auto other = CIDatabaseInit::find(host).openConnection();
  // ::1 is gone, ::2 is next: offered again 5 s ago (not stale, but older
  // than the second now is, which left() counts).
  stats->onRecall = [&] {
    other->executeScript(
        "UPDATE dhcp_apendings6 SET ROW_VERSION = ROW_VERSION + 1, OFFER_TIME = "
        "EXTRACT(EPOCH FROM now())::bigint - 5 WHERE ADDR_KEY = "
        "'20010db8000100000000000000000002'");
  };
  collect();
  EXPECT_TRUE(
      logged("info: Another server changed an offer being recalled; the server recalls stale "
             "offers again on its next run."));
  EXPECT_FALSE(logged("error"));
  EXPECT_TRUE(addrMgr->released.empty());
  EXPECT_EQ(left(), 2u);

  collect();
  EXPECT_EQ(addrMgr->released, std::vector<std::string>{"0 2001:db8:1::1 1"});
  EXPECT_EQ(left(), 1u);
}

NUV_PRST_BACKENDS(CollectionFixture);
