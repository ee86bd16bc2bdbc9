#pragma once
// Stands in for a missing statistics service: counts nothing.

#include "extended/CIDHCPStats.h"

class CDHCPStatsStub : public CIDHCPStats {
 public:
  void inc(std::int32_t) override {}
  void set(std::int32_t, std::uint64_t) override {}
  void sample() override {}
};
