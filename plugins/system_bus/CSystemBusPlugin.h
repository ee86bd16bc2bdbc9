#pragma once
// The system bus plug-in: one in-process bus shared by every plug-in of the
// host. It follows configuration events itself, so that a reloaded
// configuration moves the audit file and the history length.

#include <memory>

#include "extended/CISystemBus.h"
#include "extended/CPlugin.h"
#include "plugins/system_bus/CSystemBus.h"

class CSystemBusPlugin : public CPlugin, public CISystemBusFactory, private CIEventSubscriber {
 public:
  int openPlugin() override;
  void closePlugin() override;
  std::string pluginName() const override { return "System Bus"; }
  std::string pluginInterface() const override {
    return "CISystemBusFactory,CSystemBusPlugin,CPlugin";
  }
  std::shared_ptr<CISystemBus> createBus(const std::string& contextName) override;

 private:
  void event(const std::shared_ptr<const CAppEvent>& event) override;
  void _configure();

  std::shared_ptr<CSystemBus> m_bus = std::make_shared<CSystemBus>();
};
