#pragma once
// The DHCPv6 address offer (table dhcp_apendings6), keyed by DUID, IA type and IAID.

#include "dhcp_database/CPrstAddressPending.h"
#include "dhcp_database/CPrstDHCP6Leaf.h"
#include "dhcp_database/CPrstPending6Queries.h"

class CPrstAddressPending6 : public CPrstDHCP6Leaf<CPrstAddressPending>,
                             public CPrstPending6Queries<CPrstAddressPending6> {
  PRST_CLASS(CPrstAddressPending6)

 public:
  static constexpr const char* kTable = "dhcp_apendings6";
};
