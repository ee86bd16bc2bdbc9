#pragma once
// Stands in for a missing load balancer: this server serves every client.

#include "dhcp_server_common/CIDHCPLBalancer.h"

class CDHCPLBalancerStub : public CIDHCPLBalancer {
 public:
  void refreshConfig() override {}
  bool canService(CNodeContext&, std::uint32_t) override { return true; }
  void acceptTraffic() override {}
  void denyTraffic() override {}
};
