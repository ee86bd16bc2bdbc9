#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "extended/CDHCPMetricEnums.h"
#include "plugins/stats/CStatsPlugin.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/TempPath.h"

namespace {
class CVarDirController : public CRecordingController {
 public:
  std::string varDir() const override { return dir; }
  std::string dir = tempPath("stats_var");
};
}  // namespace

TEST(CStatsPluginTest, SumsEveryThreadsCountersForTheQueryAndTheFile) {
  CVarDirController host;
  std::system(("mkdir -p " + host.dir).c_str());
  CStatsPlugin plugin;
  plugin.controller(&host);
  ASSERT_EQ(plugin.openPlugin(), 0);

  using M = CDHCPMetricEnums::Metric;
  // Four workers bump their own counters at the same time.
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t) {
    auto stats =
        plugin.createStats(CDHCPMeasurementSpec::forHandlerThread(std::to_string(t), t, 6));
    workers.emplace_back([stats] {
      for (int i = 0; i < 10000; ++i) stats->inc(M::packetsInput);
      stats->inc(M::packetsV6Solicit);
      stats->inc(M::updatesForward);  // not measured by a handler thread
    });
  }
  for (auto& w : workers) w.join();

  std::string answer;
  ASSERT_TRUE(host.getQueryResponse("query_stats", 11, answer));
  EXPECT_NE(answer.find("packets.input=40000\n"), std::string::npos) << answer;
  EXPECT_NE(answer.find("packets.v6_solicit=4\n"), std::string::npos);
  EXPECT_NE(answer.find("packets.output=0\n"), std::string::npos);
  EXPECT_EQ(answer.find("updates.forward"), std::string::npos);

  plugin.closePlugin();
  EXPECT_FALSE(host.getQueryResponse("query_stats", 11, answer));  // gone with the plug-in
  std::ifstream file(host.dir + "/statistics.txt");
  std::stringstream s;
  s << file.rdbuf();
  EXPECT_EQ(s.str(), answer);
}
