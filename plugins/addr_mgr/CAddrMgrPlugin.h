#pragma once
// The address manager plug-in: one manager per server context (worker
// thread), all sharing the plug-in's reservations of offered candidates,
// and the reclaimer, which runs while the plug-in runs and deletes the DNS
// records of the leases it removes through the DDNS plug-in, when there
// is one.

#include <memory>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "dhcp_server_common/CIDHCPAddrMgr.h"
#include "extended/CPlugin.h"
#include "plugins/addr_mgr/CPoolCandidates.h"
#include "plugins/addr_mgr/CReclaimer.h"

class CAddrMgrPlugin : public CPlugin, public CIDHCPAddrMgrFactory {
 public:
  int openPlugin() override;
  // Starts the reclaimer: every plug-in it announces to or counts with is
  // open by now.
  int runPlugin() override;
  void shutdownPlugin() override;
  void closePlugin() override;
  std::string pluginName() const override { return "Address Manager"; }
  std::string pluginInterface() const override {
    return "CIDHCPAddrMgrFactory,CAddrMgrPlugin,CPlugin";
  }
  // It reads the pools, leases and offers of the server's database.
  std::string requiredInterfaces() const override { return "CIDatabaseInit"; }

  std::shared_ptr<CIDHCPAddrMgr> createAddrMgr(CIDHCPContext& context) override;
  CPoolCandidates& candidates() { return m_candidates; }

 private:
  // The reclaimer's session: its classes, and the context its records read
  // their option sets (a lease's DNS names) with; the definitions are read
  // on the reclaimer's thread, before its first session.
  std::unique_ptr<CDHCPContext> m_context;
  std::unique_ptr<CPrstDHCP6ObjectAbstractFactory> m_factory;
  bool m_definitionsRead = false;
  CPoolCandidates m_candidates;
  // Stopped at shut-down, before the plug-ins whose bus and counters it
  // holds are closed; declared last, so it also goes before the factory.
  std::unique_ptr<CReclaimer> m_reclaimer;
};
