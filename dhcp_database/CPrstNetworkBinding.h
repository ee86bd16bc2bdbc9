#pragma once
// A lease of one delegated prefix (IPADDR with PREFIX_LEN); its pool is a
// prefix pool.

#include "dhcp_database/CPrstBinding.h"

class CPrstNetworkBinding : public CPrstBinding {
 public:
  CPrstPool::PoolType poolType() const override { return CPrstPool::networkPool; }
  std::uint32_t prefixLen() const { return m_prefixLen.get(); }
  void prefixLen(std::uint32_t v) { m_prefixLen.set(v); }

 protected:
  CPrstNetworkBinding() = default;
  const char* _poolPrototype() const override { return "CPrstNetworkPool"; }
  const char* _duidKey() const override { return "duid"; }
  CPrstAttr<std::uint32_t>* _prefixLen() override { return &m_prefixLen; }
  const CPrstAttr<std::uint32_t>* _prefixLen() const override { return &m_prefixLen; }

 private:
  CPrstAttr<std::uint32_t> m_prefixLen{this, "PREFIX_LEN"};
};
