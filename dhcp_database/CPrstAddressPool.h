#pragma once
// A pool of addresses (IA_NA, IA_TA). Its sub-prefix length is fixed at
// the address width of its family.

#include "dhcp_database/CPrstPool.h"

class CPrstAddressPool : public CPrstPool {
 public:
  PoolType type() const override { return addressPool; }
  std::uint32_t subPrefixLen() const override { return _width(); }
  // Only the family's address width is accepted.
  void subPrefixLen(std::uint32_t v) override;

 protected:
  CPrstAddressPool(const std::string& table, std::uint32_t width) : CPrstPool(table, width) {}
  PrefixData _setPrefixData(const CRecordTextReader& in,
                            const nuv::CIPAddress& rangeStart) const override;
  std::string _rangeSize() const override;

 private:
  std::uint32_t _width() const { return family() == 4 ? 32 : 128; }
};
