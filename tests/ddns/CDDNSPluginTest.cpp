#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "extended/CDHCPMetricEnums.h"
#include "plugins/ddns/CDDNSPlugin.h"
#include "tests/ddns/CKnotServer.h"
#include "tests/ddns/CRecordingStats.h"
#include "tests/ddns/DDNSJobs.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/CWatchdog.h"

namespace {

using Key = CDHCPConfigNames::DHCPKey;
using M = CDHCPMetricEnums::Metric;

constexpr const char* kPtrName =
    "0.0.1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.1.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa";

void deleteStats(CPlugin* plugin) {
  delete plugin;
}

// The host with the plug-in loaded from its library, as dhcp6d loads it,
// beside a statistics plug-in that records what it is given.
class DDNSHost {
 public:
  DDNSHost() { set(Key::ddnsTimeout, "300"); }
  ~DDNSHost() { host.plugins().shutdownPlugins(); }

  void set(Key key, const std::string& value) {
    host.mutableConfig().set(CDHCPConfigNames::keyName(key, 6), value);
  }

  // Loads, opens and runs both plug-ins; the plug-in's service, or null.
  std::shared_ptr<CIDHCPDDNS> start() {
    host.plugins().addPlugin(stats, deleteStats, nullptr, "stats");
    EXPECT_TRUE(host.plugins().loadPlugin(NUV_PLUGIN_DIR "/ddns.so")) << host.logSink.text();
    host.plugins().openPlugins();
    host.plugins().runPlugins();
    const auto providers = host.findPluginTypes("CIDHCPDDNSFactory");
    if (providers.size() != 1) return nullptr;
    plugin = dynamic_cast<CDDNSPlugin*>(providers.front());
    return plugin ? plugin->createService() : nullptr;
  }

  std::string query() const {
    std::string answer;
    host.getQueryResponse(CDDNSPlugin::kQuery, std::strlen(CDDNSPlugin::kQuery), answer);
    return answer;
  }
  // The count the query answers for name; -1 without one.
  long count(const std::string& name) const {
    const std::string answer = "\n" + query();
    const std::size_t at = answer.find("\n" + name + "=");
    return at == std::string::npos ? -1 : std::stol(answer.substr(at + name.size() + 2));
  }

  CRecordingController host;
  CRecordingStatsPlugin* stats = new CRecordingStatsPlugin;  // the host's
  CDDNSPlugin* plugin = nullptr;                             // the host's
};

// Whether done() comes true within 10 s.
bool eventually(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

class KnotPluginTest : public ::testing::Test {
 protected:
  KnotPluginTest() {
    ddns.set(Key::ddnsTsigName, CKnotServer::kKeyName);
    ddns.set(Key::ddnsTsigSecret, CKnotServer::kSecret);
  }

  CDDNSUpdate update(const char* zone) const {
    CDDNSUpdate u = ddnsUpdate("host1.example.net", zone);
    u.server = knot.endpoint();
    return u;
  }

  CWatchdog watchdog{std::chrono::seconds(60)};
  CKnotServer knot;
  DDNSHost ddns;
};

}  // namespace

TEST(CDDNSPluginTest, LoadsAsTheHostLoadsItAndAnswersItsQuery) {
  DDNSHost ddns;
  ASSERT_TRUE(ddns.start());
  EXPECT_TRUE(ddns.host.logSink.contains("info: Plugin 'DNS Updates' provides CIDHCPDDNSFactory."));
  // Its thread counts the four metrics and nothing else.
  ASSERT_TRUE(ddns.stats->spec);
  EXPECT_EQ(ddns.stats->spec->name(), "ddns");
  for (std::int32_t id = 0; id < CDHCPMetricEnums::metricCount; ++id)
    EXPECT_EQ(ddns.stats->spec->isMeasured(id), id >= M::updatesForward && id <= M::deletesReverse)
        << id;
  const std::string answer = ddns.query();
  EXPECT_EQ(answer.rfind("updates.forward=0\nupdates.reverse=0\ndeletes.forward=0\n"
                         "deletes.reverse=0\nfailures=0\n",
                         0),
            0u)
      << answer;
  EXPECT_NE(answer.find("failures.badkey=0\n"), std::string::npos) << answer;
  ddns.host.plugins().shutdownPlugins();
  EXPECT_EQ(ddns.query(), "");  // gone with the plug-in
}

TEST_F(KnotPluginTest, UpdatesReachTheDNSServerAndAreCounted) {
  const auto service = ddns.start();
  ASSERT_TRUE(service);
  service->updateARecord(update(CKnotServer::kForwardZone));
  service->updatePTRRecord(update(CKnotServer::kReverseZone));
  EXPECT_TRUE(eventually([&] { return ddns.count("updates.reverse") == 1; })) << ddns.query();
  EXPECT_EQ(knot.query("host1.example.net", "AAAA"), "2001:db8:1::100\n");
  EXPECT_EQ(knot.query(kPtrName, "PTR"), "host1.example.net.\n");

  service->deleteARecord(update(CKnotServer::kForwardZone));
  service->deletePTRRecord(update(CKnotServer::kReverseZone));
  EXPECT_TRUE(eventually([&] { return ddns.count("deletes.reverse") == 1; })) << ddns.query();
  EXPECT_EQ(knot.query("host1.example.net", "AAAA"), "");
  EXPECT_EQ(knot.query(kPtrName, "PTR"), "");
  EXPECT_TRUE(ddns.count("updates.forward") == 1 && ddns.count("deletes.forward") == 1 &&
              ddns.count("failures") == 0)
      << ddns.query();
  EXPECT_EQ(ddns.stats->stats->counted(),
            (std::vector<std::int32_t>{M::updatesForward, M::updatesReverse, M::deletesForward,
                                       M::deletesReverse}));
}

TEST_F(KnotPluginTest, AKeyTheServerDoesNotKnowIsLoggedAsSuchAndCounted) {
  ddns.set(Key::ddnsTsigName, "not-the-key");
  const auto service = ddns.start();
  ASSERT_TRUE(service);
  service->updateARecord(update(CKnotServer::kForwardZone));
  EXPECT_TRUE(eventually([&] { return ddns.count("failures.badkey") == 1; })) << ddns.query();
  EXPECT_TRUE(ddns.host.logSink.contains(
      "error: DNS update failed: adding the AAAA records of 'host1.example.net' in zone "
      "'example.net' at " +
      knot.endpoint().string() +
      " (attempt 1): NOTAUTH (BADKEY): the DNS server does not know the TSIG key."))
      << ddns.host.logSink.text();
  EXPECT_FALSE(ddns.host.logSink.contains(CKnotServer::kSecret));
  EXPECT_EQ(knot.query("host1.example.net", "AAAA"), "");
}

TEST_F(KnotPluginTest, AStoppedServerNeverHoldsUpTheCallerAndItsFailuresAreCounted) {
  ddns.set(Key::ddnsQueueSize, "4");
  ddns.set(Key::ddnsRetries, "1");
  ddns.set(Key::ddnsDrainTime, "1");
  knot.stop();
  const auto service = ddns.start();
  ASSERT_TRUE(service);
  // Far more than the queue holds while the sender waits for answers that
  // never come: the calls return at once and the oldest give way.
  for (int n = 0; n < 50; ++n) service->updateARecord(update(CKnotServer::kForwardZone));
  EXPECT_TRUE(eventually([&] { return ddns.count("failures.timeout") == 1; })) << ddns.query();
  EXPECT_TRUE(ddns.host.logSink.contains("(attempt 2): no answer from the DNS server (timed out)."))
      << ddns.host.logSink.text();
  EXPECT_TRUE(ddns.host.logSink.contains("The DNS update queue is full (4 updates)"));
  EXPECT_GE(ddns.count("dropped"), 45) << ddns.query();
  // Shutdown gives the rest one second, then reports what it leaves.
  ddns.host.plugins().shutdownPlugins();
  EXPECT_TRUE(ddns.host.logSink.contains("DNS updates not sent.")) << ddns.host.logSink.text();
}
