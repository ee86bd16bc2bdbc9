#pragma once
// Stands in for a missing provisioner: every client belongs to no account
// and is an ordinary device, seeing what every device sees (the records of
// the all-devices domain) and nothing more.

#include "dhcp_server_common/CIDHCPProvisioner.h"
#include "dhcp_server_common/CNodeContext.h"
#include "oodb/CExtDomainID.h"

class CDHCPProvisionerStub : public CIDHCPProvisioner {
 public:
  CAccessID setAccessToken(CNodeContext& node) override {
    node.token().grantAccess(CExtDomainID::allDevices,
                             CAccessRights::read | CAccessRights::execute);
    return CAccessID();
  }
  void refreshConfig() override {}
  std::string ruleResult(CNodeContext&, const std::string&) override { return {}; }
  bool rulePersistEnabled() const override { return false; }
};
