#pragma once
// An offered prefix (IPADDR with PREFIX_LEN).

#include "dhcp_database/CPrstPending.h"

class CPrstNetworkPending : public CPrstPending {
 public:
  std::uint32_t prefixLen() const { return m_prefixLen.get(); }
  void prefixLen(std::uint32_t v) { m_prefixLen.set(v); }

 protected:
  CPrstNetworkPending() = default;
  const char* _poolPrototype() const override { return "CPrstNetworkPool"; }
  CPrstAttr<std::uint32_t>* _prefixLen() override { return &m_prefixLen; }
  const CPrstAttr<std::uint32_t>* _prefixLen() const override { return &m_prefixLen; }

 private:
  CPrstAttr<std::uint32_t> m_prefixLen{this, "PREFIX_LEN"};
};
