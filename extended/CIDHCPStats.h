#pragma once
// Statistics as the server's threads see them: each thread gets its own
// counter object from a plug-in providing "CIDHCPStatsFactory" and bumps it
// on the packet path.

#include <cstdint>
#include <memory>

#include "extended/CDHCPMeasurementSpec.h"

class CIDHCPStats {
 public:
  virtual ~CIDHCPStats() = default;
  // Owner thread only; a metric outside the measured set is ignored.
  virtual void inc(std::int32_t metric) = 0;
  virtual void set(std::int32_t metric, std::uint64_t value) = 0;
  // Marks a sampling point (the service decides what it keeps).
  virtual void sample() = 0;
};

class CIDHCPStatsFactory {
 public:
  virtual ~CIDHCPStatsFactory() = default;
  virtual std::shared_ptr<CIDHCPStats> createStats(const CDHCPMeasurementSpec& spec) = 0;
};
