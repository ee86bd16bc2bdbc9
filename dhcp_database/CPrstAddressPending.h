#pragma once
// An offered address.

#include "dhcp_database/CPrstPending.h"

class CPrstAddressPending : public CPrstPending {
 protected:
  CPrstAddressPending() = default;
  const char* _poolPrototype() const override { return "CPrstAddressPool"; }
};
