#pragma once
// Provisioning rules: decide which account a client belongs to. Found
// through a plug-in providing "CIDHCPProvisionerFactory".

#include <memory>
#include <string>

#include "oodb/CAccessID.h"

class CIDHCPContext;
class CNodeContext;

class CIDHCPProvisioner {
 public:
  virtual ~CIDHCPProvisioner() = default;
  // Fills the client's access token in the node context's provisioned
  // state and returns the client's account.
  virtual CAccessID setAccessToken(CNodeContext& node) = 0;
  virtual void refreshConfig() = 0;
  // The outcome of the named rule for the client, as text.
  virtual std::string ruleResult(CNodeContext& node, const std::string& rule) = 0;
  virtual bool rulePersistEnabled() const = 0;
};

class CIDHCPProvisionerFactory {
 public:
  virtual ~CIDHCPProvisionerFactory() = default;
  virtual std::shared_ptr<CIDHCPProvisioner> createProvisioner(CIDHCPContext& context) = 0;
};
