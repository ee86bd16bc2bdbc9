#pragma once
// Directory lookups. Found through a plug-in providing "CIDHCPLdapFactory".

#include <memory>
#include <string>
#include <vector>

#include "standard/CStringMap.h"

class CIDHCPContext;

class CIDHCPLdap {
 public:
  virtual ~CIDHCPLdap() = default;
  // The entries matching the filter, one attribute map each; false when the
  // directory could not be asked.
  virtual bool lookup(const std::string& filter, std::vector<nuv::CStringMap>& entries) = 0;
};

class CIDHCPLdapFactory {
 public:
  virtual ~CIDHCPLdapFactory() = default;
  virtual std::shared_ptr<CIDHCPLdap> createLdap(CIDHCPContext& context) = 0;
};
