#pragma once
// Domain identities with the reserved domains of the DHCP server: every
// device belongs to the all-devices domain, which also holds the global
// objects (such as the global policies); no object belongs to the invalid one.

#include "oodb/CDomainID.h"

class CExtDomainID : public CDomainID {
 public:
  enum ExtReserved : std::int32_t { invalid = -2, allDevices = 2 };

  CExtDomainID(std::int32_t id = unknown, std::int32_t domainType = 0)  // NOLINT
      : CDomainID(id, domainType) {}

  // "All devices" for the all-devices domain, else as CDomainID names it.
  std::string name() const { return reservedName(id()); }
  static std::string reservedName(std::int32_t id);
};
