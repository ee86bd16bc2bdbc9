#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
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

TEST(CStatsPluginTest, AFileThatCannotBeWrittenIsReportedOnceUntilItCanAgain) {
  CVarDirController host;
  host.dir = tempPath("stats_gone");
  std::system(("rm -rf " + host.dir).c_str());
  CStatsPlugin plugin;
  plugin.controller(&host);
  const auto count = [&](const std::string& text) {
    std::lock_guard<std::mutex> lock(host.logSink.mutex);
    return std::count_if(host.logSink.lines.begin(), host.logSink.lines.end(),
                         [&](const std::string& l) { return l.find(text) != std::string::npos; });
  };
  const std::string failed = "Cannot write statistics file '" + host.dir + "/statistics.txt' (";
  const std::string again = "Writing statistics file '" + host.dir + "/statistics.txt' again.";
  struct Step {
    bool dirExists;
    int writes;
    long failedLines, againLines;  // after the step
  };
  const Step steps[] = {
      {true, 3, 0, 0},   // all is well: nothing to say
      {false, 5, 1, 0},  // the directory is gone: one line, however many intervals
      {true, 4, 1, 1},   // back: one line saying so
      {false, 2, 2, 1},  // a new outage is a new line
  };
  for (const Step& step : steps) {
    std::system(((step.dirExists ? "mkdir -p " : "rm -rf ") + host.dir).c_str());
    for (int i = 0; i < step.writes; ++i) plugin.writeFile();
    EXPECT_EQ(count(failed), step.failedLines) << host.logSink.text();
    EXPECT_EQ(count(again), step.againLines) << host.logSink.text();
  }
  EXPECT_TRUE(host.logSink.contains("No such file or directory")) << host.logSink.text();
  EXPECT_EQ(access((host.dir + "/statistics.txt.tmp").c_str(), F_OK), -1);
}
