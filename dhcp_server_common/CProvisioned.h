#pragma once
// What provisioning decided about the client of the message in progress:
// its account, and the lease events the message's processor queued, which
// are published only once the message's transaction has committed.

#include "dhcp_server_common/CCmdPublishQueue.h"
#include "oodb/CAccessID.h"

class CProvisioned {
 public:
  const CAccessID& account() const { return m_account; }
  void account(CAccessID account) { m_account = account; }
  CAppEventQueue& eventQueue() { return m_events; }
  const CAppEventQueue& eventQueue() const { return m_events; }

  void clear() {
    m_account = CAccessID();
    m_events.clear();
  }
  // "account=<id> events=<n>".
  std::string string() const {
    return "account=" + m_account.string() + " events=" + std::to_string(m_events.size());
  }

 private:
  CAccessID m_account;
  CAppEventQueue m_events;
};
