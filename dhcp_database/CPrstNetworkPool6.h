#pragma once
// The DHCPv6 prefix pool (table dhcp_npools6).

#include "dhcp_database/CPrstNetworkPool.h"
#include "dhcp_database/CPrstPoolQueries.h"

class CPrstNetworkPool6 : public CPrstNetworkPool, public CPrstPoolQueries<CPrstNetworkPool6> {
  PRST_CLASS(CPrstNetworkPool6)

 public:
  static constexpr const char* kTable = "dhcp_npools6";
  // The stem of the family's relay statement ("npool6.dom_relay").
  static constexpr const char* kStatementStem = "npool";

  CPrstNetworkPool6() : CPrstNetworkPool(kTable) {}
  int family() const override { return 6; }
};
