#pragma once
// Stands in for a missing provisioner: every client belongs to no account.

#include "dhcp_server_common/CIDHCPProvisioner.h"

class CDHCPProvisionerStub : public CIDHCPProvisioner {
 public:
  CAccessID setAccessToken(CNodeContext&) override { return CAccessID(); }
  void refreshConfig() override {}
  std::string ruleResult(CNodeContext&, const std::string&) override { return {}; }
  bool rulePersistEnabled() const override { return false; }
};
