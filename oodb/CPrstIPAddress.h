#pragma once
// One stored address (table nuv_address): the target of address lists such
// as the relay addresses of a pool.

#include "oodb/CFirstClassObject.h"
#include "standard/CIPAddress.h"

class CPrstIPAddress : public CFirstClassObject {
  PRST_CLASS(CPrstIPAddress)

 public:
  static constexpr const char* kTable = "nuv_address";

  const nuv::CIPAddress& address() const { return m_addr.get(); }
  void address(const nuv::CIPAddress& a) { m_addr.set(a); }

 private:
  CPrstAttr<nuv::CIPAddress> m_addr{this, "ADDR"};
};
