#pragma once
// The statistics plug-in: hands every thread its own counter array (no lock
// shared between threads on the packet path) and makes the sums readable by
// the operator through the status query "query_stats" and a file that is
// rewritten every "stats.sample_rate" seconds (default 60) under the
// variable-data directory.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "extended/CDHCPCounterArray.h"
#include "extended/CIDHCPStats.h"
#include "extended/CPlugin.h"

class CStatsPlugin : public CPlugin, public CIDHCPStatsFactory {
 public:
  static constexpr const char* kQuery = "query_stats";
  static constexpr const char* kFileName = "statistics.txt";

  ~CStatsPlugin() override;

  int openPlugin() override;
  void closePlugin() override;
  std::string pluginName() const override { return "Statistics"; }
  std::string pluginInterface() const override { return "CIDHCPStatsFactory,CStatsPlugin,CPlugin"; }

  std::shared_ptr<CIDHCPStats> createStats(const CDHCPMeasurementSpec& spec) override;

  // Sums over every thread's counters, one "metric=value" line per metric
  // measured by any of them, in identifier order.
  std::string summary() const;
  // Writes summary() to the statistics file (replaced atomically). A
  // failure is logged once, with its reason, until a write works again.
  void writeFile() const;

 private:
  class CThreadStats;
  void _writer();

  mutable std::mutex m_mutex;
  std::vector<std::shared_ptr<CThreadStats>> m_threads;
  std::condition_variable m_wake;
  bool m_stopping = false;
  std::thread m_writerThread;
  mutable std::mutex m_fileMutex;  // one writer of the file at a time
  mutable bool m_fileFailing = false;
};
