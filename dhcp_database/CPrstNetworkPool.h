#pragma once
// A pool of delegated prefixes (IA_PD): the range bounds are the first and
// the last prefix, each SUB_PREFIX_LEN bits long.

#include "dhcp_database/CPrstPool.h"

class CPrstNetworkPool : public CPrstPool {
 public:
  PoolType type() const override { return networkPool; }

 protected:
  explicit CPrstNetworkPool(const std::string& table) : CPrstPool(table, 0) {}
  PrefixData _setPrefixData(const CRecordTextReader& in,
                            const nuv::CIPAddress& rangeStart) const override;
  std::string _rangeSize() const override;
};
