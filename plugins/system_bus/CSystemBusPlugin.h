#pragma once
// The in-process system bus for lease and configuration events. For now it
// only provides the interface the server waits for.

#include "extended/CPlugin.h"

class CSystemBusPlugin : public CPlugin {
 public:
  int openPlugin() override;
  std::string pluginName() const override { return "System Bus"; }
  std::string pluginInterface() const override {
    return "CISystemBusFactory,CSystemBusPlugin,CPlugin";
  }
};
