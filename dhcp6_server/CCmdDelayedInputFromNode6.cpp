#include "dhcp6_server/CCmdDelayedInputFromNode6.h"

#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_server_common/CIDHCPPktStore.h"

void CCmdDelayedInputFromNode6::execute() {
  CIDHCP6Exchange& exchange = m_tls.context().exchange();
  const CDHCPPktIdentity who = exchange.requestIdentity();
  m_tls.context().mediator().pktstore()->inputFromNode(
      who.account, m_type, who.subscriberID, who.circuitID, who.remoteID, who.clientID,
      exchange.requestText(), m_packet.buffer(), m_packet.pktLen());
}
