#pragma once
// The address manager that picks free addresses and prefixes out of candidate
// pools. For now it only provides the interface the server waits for.

#include "extended/CPlugin.h"

class CAddrMgrPlugin : public CPlugin {
 public:
  int openPlugin() override;
  std::string pluginName() const override { return "Address Manager"; }
  std::string pluginInterface() const override {
    return "CIDHCPAddrMgrFactory,CAddrMgrPlugin,CPlugin";
  }
};
