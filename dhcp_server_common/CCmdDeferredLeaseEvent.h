#pragma once
// Announces a lease change once the transaction that made it has
// committed: queued with type 2 (onCommit), so a rolled-back lease is
// never announced. The event's time is the moment it runs.

#include <cstdint>
#include <memory>
#include <string>

#include "dhcp_database/CBindingIdentifier.h"
#include "extended/CSyncCommand.h"
#include "standard/CIPAddress.h"

class CIDHCPContext;

class CCmdDeferredLeaseEvent : public CSyncCommand {
 public:
  CCmdDeferredLeaseEvent(CIDHCPContext& context, unsigned type, const nuv::CIPAddress& address,
                         const CBindingIdentifier& bindingID, std::string eventType,
                         std::string eventClass, std::string hostname, std::int32_t poolOID,
                         long instance);

  void execute() override;

 private:
  CIDHCPContext& m_context;  // the thread's; outlives the command
  nuv::CIPAddress m_address;
  std::unique_ptr<CBindingIdentifier> m_bindingID;
  std::string m_eventType;
  std::string m_eventClass;
  std::string m_hostname;
  std::int32_t m_poolOID;
  long m_instance;
};
