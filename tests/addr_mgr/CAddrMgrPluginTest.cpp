// The address manager plug-in as the host drives it, on a real database
// provider: running, it reclaims expired leases through the host's system
// bus, statistics and DDNS plug-ins (reading a lease's DNS names with the
// configured definitions); shut down, its reclaimer is gone before those
// plug-ins are.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/CDefinitionFiles.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "dhcp_server_common/CLeaseEvent.h"
#include "extended/CDHCPConfigNames.h"
#include "extended/CDHCPMetricEnums.h"
#include "extended/CIDHCPStats.h"
#include "extended/CISystemBus.h"
#include "oodb_persistence/CIDatabaseInit.h"
#include "tests/dhcp6_server/CRecordingDDNS.h"
#include "tests/fixtures/CPrstBackendTest.h"
#include "tests/fixtures/CWatchdog.h"
#include "tests/fixtures/StoreRecord.h"

namespace {

class CHostInDir : public CRecordingController {
 public:
  std::string varDir() const override { return dir; }
  std::string dir;
};

// The host's system bus and statistics: keeps the lease events and counts
// the reclaimed bindings, and lets the test wait for them.
class CBusAndStats : public CPlugin,
                     public CISystemBusFactory,
                     public CISystemBus,
                     public CIDHCPStatsFactory,
                     public CIDHCPStats {
 public:
  std::string pluginName() const override { return "bus and stats"; }
  std::string pluginInterface() const override {
    return "CISystemBusFactory,CIDHCPStatsFactory,CPlugin";
  }
  std::shared_ptr<CISystemBus> createBus(const std::string&) override {
    return std::shared_ptr<CISystemBus>(std::shared_ptr<void>(), this);
  }
  std::shared_ptr<CIDHCPStats> createStats(const CDHCPMeasurementSpec& spec) override {
    measured = spec.isMeasured(CDHCPMetricEnums::bindingReclaimed);
    return std::shared_ptr<CIDHCPStats>(std::shared_ptr<void>(), this);
  }
  std::int64_t publish(std::shared_ptr<CAppEvent> event, int) override {
    std::lock_guard<std::mutex> lock(mutex);
    if (const auto* lease = dynamic_cast<const CLeaseEvent*>(event.get()))
      events.push_back(lease->evtType + " " + lease->evtClass + " " + lease->address.string());
    changed.notify_all();
    return static_cast<std::int64_t>(events.size());
  }
  void subscribe(CIEventSubscriber*, std::vector<std::string>, CEventExecutor) override {}
  void unsubscribe(CIEventSubscriber*) override {}
  std::vector<std::shared_ptr<const CAppEvent>> history() const override { return {}; }
  void inc(std::int32_t metric) override {
    std::lock_guard<std::mutex> lock(mutex);
    if (metric == CDHCPMetricEnums::bindingReclaimed) ++reclaimed;
  }
  void set(std::int32_t, std::uint64_t) override {}
  void sample() override {}
  // False when the deadline passes first.
  bool awaitEvents(std::size_t n) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(15), [&] { return events.size() >= n; });
  }

  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> events;
  int reclaimed = 0;
  bool measured = false;
};

void deletePlugin(CPlugin* plugin) {
  delete plugin;
}

}  // namespace

class CAddrMgrPluginTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    const bool pg = GetParam() == "pgsql";
    NUV_REQUIRE_TEST_PG(GetParam());
    if (pg) database = CPrstTestDatabase::forHost(host.mutableConfig());
    char tmpl[] = "/tmp/nuv_addr_mgr_XXXXXX";
    host.dir = mkdtemp(tmpl);
    host.mutableConfig().set(
        CDHCPConfigNames::keyName(CDHCPConfigNames::DHCPKey::reclaimerInterval, 6), "1");
    ASSERT_TRUE(host.plugins().loadPlugin(std::string(NUV_PLUGIN_DIR) +
                                          (pg ? "/pg_db.so" : "/sqlite_db.so")));
    ASSERT_TRUE(host.plugins().loadPlugin(std::string(NUV_PLUGIN_DIR) + "/addr_mgr.so"));
    services = new CBusAndStats;
    host.plugins().addPlugin(services, deletePlugin, nullptr, "services");
    ddns = new CRecordingDDNS;
    host.plugins().addPlugin(ddns, deletePlugin, nullptr, "ddns");
    host.plugins().openPlugins();
  }
  void TearDown() override {
    host.plugins().shutdownPlugins();
    database.reset();
    std::error_code ec;
    if (!host.dir.empty()) std::filesystem::remove_all(host.dir, ec);
  }

  CHostInDir host;
  std::unique_ptr<CPrstTestDatabase> database;
  CBusAndStats* services = nullptr;  // the host's
  CRecordingDDNS* ddns = nullptr;    // the host's
};

TEST_P(CAddrMgrPluginTest, RunningItReclaimsThroughTheHostsServicesAndShutDownItStops) {
  CWatchdog watchdog;
  // Outlives the session: this thread's records took it as their context.
  CDHCPContext definitions(6);
  CDefinitionFiles::readOptions(definitions.optionLookup(),
                                std::string(NUV_SOURCE_DIR) + "/data/options6.spec");
  {
    CPrstDHCP6ObjectAbstractFactory factory(&definitions);
    auto session = CIDatabaseInit::find(host).openSession({&factory});
    storeRecord<CPrstAddressBinding6>(
        *session,
        "client_id = 00-01\niatype = iana\niaid = 1\nrelay = ::\nipaddr = 2001:db8:1::10\n"
        "lease_duration = 60\noption = ddns-lease-name = host1.example.net\n"
        "option = ddns-lease-forward-zone = example.net\nlease_commit = " +
            std::to_string(nuv::CTimeT::now().get() - 3600));
  }
  host.plugins().runPlugins();
  ASSERT_TRUE(services->awaitEvents(1));
  {
    std::lock_guard<std::mutex> lock(services->mutex);
    EXPECT_EQ(services->events, std::vector<std::string>{"expire address_lease 2001:db8:1::10"});
    EXPECT_EQ(services->reclaimed, 1);  // counted before it is announced
    EXPECT_TRUE(services->measured);
  }
  // Handed over right after the event.
  std::vector<std::string> deletes;
  for (int i = 0; i < 150 && deletes.empty(); ++i) {
    deletes = ddns->taken();
    if (deletes.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(deletes, std::vector<std::string>{"delete-aaaa host1.example.net zone=example.net "
                                              "ttl=0 server=:0 auth=0 2001:db8:1::10"});
  // Joins the reclaimer (or the watchdog ends the test), then deletes the
  // services it held.
  host.plugins().shutdownPlugins();
}

NUV_PRST_BACKENDS(CAddrMgrPluginTest);
