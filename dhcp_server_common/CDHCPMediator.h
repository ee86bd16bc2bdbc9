#pragma once
// The common part of every server's mediator: finding the factory of a
// service among the host's plug-ins by the factory's interface name.

#include <string>

#include "extended/CPlugin.h"

class CIDHCPController;

class CDHCPMediator {
 public:
  explicit CDHCPMediator(CIDHCPController* controller) : m_controller(controller) {}
  CDHCPMediator(const CDHCPMediator&) = delete;
  CDHCPMediator& operator=(const CDHCPMediator&) = delete;
  virtual ~CDHCPMediator() = default;

  CIDHCPController* controller() const { return m_controller; }

 protected:
  // The first opened plug-in that conforms to interfaceName and really
  // implements Factory; null when there is none.
  template <class Factory>
  Factory* _findFactory(const std::string& interfaceName) const {
    CPlugin* plugin = _findPlugin(interfaceName);
    return plugin ? dynamic_cast<Factory*>(plugin) : nullptr;
  }

 private:
  CPlugin* _findPlugin(const std::string& interfaceName) const;

  CIDHCPController* m_controller;  // the host's; not owned
};
