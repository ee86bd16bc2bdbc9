#pragma once
// The DHCPv6 server plug-in object: thin; it probes for IPv6 at open, owns
// the engine while running and forwards the host's questions to it.

#include <memory>

#include "dhcp6_server/CDHCP6Engine.h"
#include "dhcp6_server/CIDHCPServer.h"

class CDHCP6Server : public CIDHCPServer {
 public:
  static constexpr std::uint32_t kMaxThreads = 256;

  int openPlugin() override;
  void closePlugin() override {}
  int runPlugin() override;
  void shutdownPlugin() override;
  void pausePlugin() override {}
  void resumePlugin() override {}
  std::string pluginName() const override { return "DHCPv6 Server"; }
  int pluginMode() const override { return 1; }
  std::string pluginInterface() const override { return "CDHCP6Server,CIDHCPServer,CPlugin"; }
  std::string requiredInterfaces() const override {
    return "CIDatabaseInit,CIDHCPAddrMgrFactory,CISystemBusFactory";
  }

  unsigned countBindings() const override { return m_engine->countBindings(); }
  CSystemMode mode() const override { return m_engine->mode(); }
  CProtocolFamily protocolVersion() const override { return CProtocolFamily(6); }
  CIDHCPContext* context() const override;

  CDHCP6Engine* engine() const { return m_engine.get(); }

 private:
  std::unique_ptr<CDHCP6Engine> m_engine;
};
