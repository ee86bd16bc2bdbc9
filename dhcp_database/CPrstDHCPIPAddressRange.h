#pragma once
// Address ranges of pools: the range a pool hands out (table
// dhcp_address_range, owned by the pool through ADDR_RANGE) and the ranges
// it excludes (table dhcp_exc_addr_range, linked through the pool's
// exclusion-link table). For prefix pools the bounds are the first and the
// last delegated prefix.

#include "oodb/CFirstClassObject.h"
#include "standard/CIPAddress.h"

class CPrstDHCPIPAddressRange : public CFirstClassObject {
  PRST_CLASS(CPrstDHCPIPAddressRange)

 public:
  static constexpr const char* kTable = "dhcp_address_range";

  const nuv::CIPAddress& start() const { return m_start.get(); }
  void start(const nuv::CIPAddress& a) { m_start.set(a); }
  const nuv::CIPAddress& stop() const { return m_stop.get(); }
  void stop(const nuv::CIPAddress& a) { m_stop.set(a); }
  // Inclusive bounds.
  bool contains(const nuv::CIPAddress& a) const {
    return m_start.get().isValid() && a.type() == m_start.get().type() && m_start.get() <= a &&
           a <= m_stop.get();
  }
  // "<start>-<stop>".
  std::string rangeText() const { return start().string() + "-" + stop().string(); }

 private:
  CPrstAttr<nuv::CIPAddress> m_start{this, "START_IP"};
  CPrstAttr<nuv::CIPAddress> m_stop{this, "STOP_IP"};
};

class CPrstDHCPIPExcAddrRange : public CPrstDHCPIPAddressRange {
  PRST_CLASS(CPrstDHCPIPExcAddrRange)

 public:
  static constexpr const char* kTable = "dhcp_exc_addr_range";
};
