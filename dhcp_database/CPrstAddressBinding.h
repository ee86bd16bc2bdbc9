#pragma once
// A lease of one address; its pool is an address pool.

#include "dhcp_database/CPrstBinding.h"

class CPrstAddressBinding : public CPrstBinding {
 public:
  CPrstPool::PoolType poolType() const override { return CPrstPool::addressPool; }

 protected:
  CPrstAddressBinding() = default;
  const char* _poolPrototype() const override { return "CPrstAddressPool"; }
};
