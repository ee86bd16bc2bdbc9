#pragma once
// Stands in for a missing external balancer: it has no settings.

#include "dhcp_server_common/CIDHCPEBalancer.h"

class CDHCPEBalancerStub : public CIDHCPEBalancer {
 public:
  void refreshConfig() override {}
  std::string getValue(const std::string&) override { return {}; }
};
