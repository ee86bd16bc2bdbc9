#pragma once
// The DHCPv6 address lease (table dhcp_abindings6), keyed by DUID, IA type and IAID.

#include "dhcp_database/CPrstAddressBinding.h"
#include "dhcp_database/CPrstBinding6Queries.h"
#include "dhcp_database/CPrstDHCP6Leaf.h"

class CPrstAddressBinding6 : public CPrstDHCP6Leaf<CPrstAddressBinding>,
                             public CPrstBinding6Queries<CPrstAddressBinding6> {
  PRST_CLASS(CPrstAddressBinding6)

 public:
  static constexpr const char* kTable = "dhcp_abindings6";
};
