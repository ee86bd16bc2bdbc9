#pragma once
// Stands in for a missing domain manager: tokens stay as they are.

#include "dhcp_server_common/CIDHCPDomainManager.h"

class CDHCPDomainManagerStub : public CIDHCPDomainManager {
 public:
  void populateAccessToken(const CAccessID&, CAccessToken&) override {}
};
