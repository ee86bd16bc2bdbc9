#pragma once
// Stands in for a missing directory: nothing can be looked up.

#include "dhcp_server_common/CIDHCPLdap.h"

class CDHCPLdapStub : public CIDHCPLdap {
 public:
  bool lookup(const std::string&, std::vector<nuv::CStringMap>& entries) override {
    entries.clear();
    return false;
  }
};
