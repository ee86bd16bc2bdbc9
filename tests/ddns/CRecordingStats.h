#pragma once
// A statistics service for the DNS update plug-in's tests: the metrics
// counted, in order; readable while the sender thread counts.

#include <mutex>
#include <vector>

#include "extended/CIDHCPStats.h"
#include "extended/CPlugin.h"

class CRecordingStats : public CIDHCPStats {
 public:
  void inc(std::int32_t metric) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_counted.push_back(metric);
  }
  void set(std::int32_t, std::uint64_t) override {}
  void sample() override {}
  std::vector<std::int32_t> counted() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_counted;
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<std::int32_t> m_counted;
};

// The plug-in that hands it out, with the measurement it was asked for.
class CRecordingStatsPlugin : public CPlugin, public CIDHCPStatsFactory {
 public:
  std::string pluginName() const override { return "Recording Statistics"; }
  std::string pluginInterface() const override { return "CIDHCPStatsFactory,CPlugin"; }
  std::shared_ptr<CIDHCPStats> createStats(const CDHCPMeasurementSpec& s) override {
    spec = std::make_unique<CDHCPMeasurementSpec>(s);
    return stats;
  }
  std::shared_ptr<CRecordingStats> stats = std::make_shared<CRecordingStats>();
  std::unique_ptr<CDHCPMeasurementSpec> spec;
};
