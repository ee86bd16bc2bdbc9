#pragma once
// The DHCPv6 address pool (table dhcp_apools6).

#include "dhcp_database/CPrstAddressPool.h"
#include "dhcp_database/CPrstPoolQueries.h"

class CPrstAddressPool6 : public CPrstAddressPool, public CPrstPoolQueries<CPrstAddressPool6> {
  PRST_CLASS(CPrstAddressPool6)

 public:
  static constexpr const char* kTable = "dhcp_apools6";
  // The stem of the family's relay statement ("apool6.dom_relay").
  static constexpr const char* kStatementStem = "apool";

  CPrstAddressPool6() : CPrstAddressPool(kTable, 128) {}
  int family() const override { return 6; }
};
