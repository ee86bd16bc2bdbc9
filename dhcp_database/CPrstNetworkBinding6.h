#pragma once
// The DHCPv6 prefix lease (table dhcp_nbindings6), keyed by DUID, IA type and IAID.

#include "dhcp_database/CPrstBinding6Queries.h"
#include "dhcp_database/CPrstDHCP6Leaf.h"
#include "dhcp_database/CPrstNetworkBinding.h"

class CPrstNetworkBinding6 : public CPrstDHCP6Leaf<CPrstNetworkBinding>,
                             public CPrstBinding6Queries<CPrstNetworkBinding6> {
  PRST_CLASS(CPrstNetworkBinding6)

 public:
  static constexpr const char* kTable = "dhcp_nbindings6";
};
