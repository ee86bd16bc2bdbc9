#include "dhcp6_server/CCmdDelayedInputFromNode6.h"

#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_server_common/CIDHCPPktStore.h"

void CCmdDelayedInputFromNode6::execute() {
  CDHCP6Context& context = m_tls.context();
  const CDHCP6Packet& request = *context.inPacket();
  context.mediator().pktstore()->inputFromNode(
      context.ncIn().provisioned().account(), m_type, request.subscriberID(), request.circuitID(),
      request.remoteID(), request.clientID(), [&request] { return request.string(); },
      m_packet.buffer(), m_packet.pktLen());
}
