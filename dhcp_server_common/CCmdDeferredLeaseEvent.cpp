#include "dhcp_server_common/CCmdDeferredLeaseEvent.h"

#include "dhcp_server_common/CIDHCPContext.h"
#include "dhcp_server_common/CIDHCPMediator.h"
#include "dhcp_server_common/CLeaseEvent.h"
#include "extended/CConfigNames.h"
#include "extended/CIDHCPController.h"
#include "extended/CISystemBus.h"

CCmdDeferredLeaseEvent::CCmdDeferredLeaseEvent(CIDHCPContext& context, unsigned type,
                                               const nuv::CIPAddress& address,
                                               const CBindingIdentifier& bindingID,
                                               std::string eventType, std::string eventClass,
                                               std::string hostname, std::int32_t poolOID,
                                               long instance)
    : CSyncCommand(type),
      m_context(context),
      m_address(address),
      m_bindingID(bindingID.clone()),
      m_eventType(std::move(eventType)),
      m_eventClass(std::move(eventClass)),
      m_hostname(std::move(hostname)),
      m_poolOID(poolOID),
      m_instance(instance) {}

void CCmdDeferredLeaseEvent::execute() {
  const std::shared_ptr<CISystemBus> bus = m_context.mediator().publisher();
  if (!bus) return;
  const int serverIndex = static_cast<int>(
      m_context.controller()->config()->get_uint32(nuv::CConfigNames::systemIndex(), 0));
  bus->publish(std::make_shared<CLeaseEvent>(serverIndex, m_eventType, m_eventClass, m_address,
                                             *m_bindingID, m_hostname, m_poolOID, m_instance),
               0);
}
