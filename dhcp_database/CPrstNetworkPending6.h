#pragma once
// The DHCPv6 prefix offer (table dhcp_npendings6), keyed by DUID, IA type and IAID.

#include "dhcp_database/CPrstDHCP6Leaf.h"
#include "dhcp_database/CPrstNetworkPending.h"
#include "dhcp_database/CPrstPending6Queries.h"

class CPrstNetworkPending6 : public CPrstDHCP6Leaf<CPrstNetworkPending>,
                             public CPrstPending6Queries<CPrstNetworkPending6> {
  PRST_CLASS(CPrstNetworkPending6)

 public:
  static constexpr const char* kTable = "dhcp_npendings6";
};
