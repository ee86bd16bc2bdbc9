#pragma once
// The address manager plug-in: one manager per server context (worker
// thread), all sharing the plug-in's reservations of offered candidates.

#include "dhcp_server_common/CIDHCPAddrMgr.h"
#include "extended/CPlugin.h"
#include "plugins/addr_mgr/CPoolCandidates.h"

class CAddrMgrPlugin : public CPlugin, public CIDHCPAddrMgrFactory {
 public:
  int openPlugin() override;
  std::string pluginName() const override { return "Address Manager"; }
  std::string pluginInterface() const override {
    return "CIDHCPAddrMgrFactory,CAddrMgrPlugin,CPlugin";
  }
  // It reads the pools, leases and offers of the server's database.
  std::string requiredInterfaces() const override { return "CIDatabaseInit"; }

  std::shared_ptr<CIDHCPAddrMgr> createAddrMgr(CIDHCPContext& context) override;
  CPoolCandidates& candidates() { return m_candidates; }

 private:
  CPoolCandidates m_candidates;
};
