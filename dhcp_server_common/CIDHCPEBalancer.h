#pragma once
// The external balancer's settings. Found through a plug-in providing
// "CIDHCPEBalancerFactory".

#include <memory>
#include <string>

class CIDHCPContext;

class CIDHCPEBalancer {
 public:
  virtual ~CIDHCPEBalancer() = default;
  virtual void refreshConfig() = 0;
  // The named setting; empty when there is none.
  virtual std::string getValue(const std::string& name) = 0;
};

class CIDHCPEBalancerFactory {
 public:
  virtual ~CIDHCPEBalancerFactory() = default;
  virtual std::shared_ptr<CIDHCPEBalancer> createEBalancer(CIDHCPContext& context) = 0;
};
