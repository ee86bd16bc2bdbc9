#pragma once
// A lease obtained, renewed or released, as the system bus announces it.
// Subscribers see its string-map form: the application event's keys, then
// address, binding_id, hostname, pool_oid and proto_family.

#include <cstdint>
#include <memory>
#include <string>

#include "dhcp_database/CBindingIdentifier.h"
#include "extended/CAppEvent.h"
#include "standard/CIPAddress.h"

class CLeaseEvent : public CAppEvent {
 public:
  static const char* typeObtain() { return "obtain"; }
  static const char* typeRenew() { return "renew"; }
  static const char* typeRelease() { return "release"; }
  static const char* typeDecline() { return "decline"; }
  static const char* typeExpire() { return "expire"; }
  static const char* classALease() { return "address_lease"; }
  static const char* classNLease() { return "network_lease"; }

  CLeaseEvent(int serverIndex, std::string type, std::string cls, const nuv::CIPAddress& address,
              const CBindingIdentifier& bindingID, std::string hostname, std::int32_t poolOID,
              long instance);

  nuv::CIPAddress address;
  std::shared_ptr<const CBindingIdentifier> bindingID;
  std::string hostname;
  std::int32_t poolOID;
  // 4 or 6, by the address.
  int protoFamily() const { return address.bitWidth() == 32 ? 4 : 6; }

  void sm(nuv::CStringMap& out) const override;
  using CAppEvent::sm;
};
