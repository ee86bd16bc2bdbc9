#pragma once
// Domain management: which domains an account's token covers. Found
// through a plug-in providing "CIDHCPDomainManagerFactory".

#include <memory>

#include "oodb/CAccessID.h"

class CAccessToken;
class CIDHCPContext;

class CIDHCPDomainManager {
 public:
  virtual ~CIDHCPDomainManager() = default;
  virtual void populateAccessToken(const CAccessID& account, CAccessToken& token) = 0;
};

class CIDHCPDomainManagerFactory {
 public:
  virtual ~CIDHCPDomainManagerFactory() = default;
  virtual std::shared_ptr<CIDHCPDomainManager> createDomainManager(CIDHCPContext& context) = 0;
};
