#include "dhcp_server_common/CCmdDeferredDDNS.h"

#include "dhcp_server_common/CIDHCPContext.h"
#include "dhcp_server_common/CIDHCPMediator.h"

void CCmdDeferredDDNS::execute() {
  const std::shared_ptr<CIDHCPDDNS> ddns = m_context.mediator().ddns();
  switch (m_action) {
    case Action::addForward:
      ddns->updateARecord(m_update);
      break;
    case Action::addReverse:
      ddns->updatePTRRecord(m_update);
      break;
    case Action::deleteForward:
      ddns->deleteARecord(m_update);
      break;
    case Action::deleteReverse:
      ddns->deletePTRRecord(m_update);
      break;
  }
}
