#include "dhcp_server_common/CCmdPublishQueue.h"

#include "dhcp_server_common/CIDHCPContext.h"
#include "dhcp_server_common/CIDHCPMediator.h"
#include "extended/CISystemBus.h"

void CCmdPublishQueue::execute() {
  if (m_queue.empty()) return;
  CAppEventQueue events;
  events.swap(m_queue);
  const std::shared_ptr<CISystemBus> bus = m_context.mediator().publisher();
  if (!bus) return;
  for (auto& event : events) bus->publish(std::move(event), 0);
}
