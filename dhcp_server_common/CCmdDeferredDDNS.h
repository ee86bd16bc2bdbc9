#pragma once
// Hands one DNS update to the DDNS service once the transaction that made
// or ended the leases has committed: queued with type 2 (onCommit), so a
// rolled-back lease never reaches the DNS.

#include "dhcp_server_common/CIDHCPDDNS.h"
#include "extended/CSyncCommand.h"

class CIDHCPContext;

class CCmdDeferredDDNS : public CSyncCommand {
 public:
  enum class Action { addForward, addReverse, deleteForward, deleteReverse };

  CCmdDeferredDDNS(CIDHCPContext& context, Action action, CDDNSUpdate update)
      : CSyncCommand(onCommit), m_context(context), m_action(action), m_update(std::move(update)) {}

  void execute() override;

  Action action() const { return m_action; }
  const CDDNSUpdate& update() const { return m_update; }

 private:
  CIDHCPContext& m_context;  // the thread's; outlives the command
  Action m_action;
  CDDNSUpdate m_update;
};
