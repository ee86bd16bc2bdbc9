#include "dhcp_server_common/CNodeContext.h"

#include "dhcp_base/COptionStore.h"

void CNodeContext::clear() {
  m_hostOptions = COptionStorePtr();
  m_relayOptions.clear();
  m_localAddress = nuv::CIPAddress();
  m_localAddresses.reset();
  m_peerAddress = nuv::CIPAddress();
  m_provisioned.clear();
  m_serverDUID = nuv::CHexStore();
  m_clientID = nuv::CHexStore();
  m_token.clear();
}

std::string CNodeContext::string() const {
  std::string out = "localaddr = " + m_localAddress.string() +
                    "\npeeraddr = " + m_peerAddress.string() +
                    "\nclientid = " + m_clientID.string() + "\nduid = " + m_serverDUID.string() +
                    "\nprovisioned = " + m_provisioned.string() + "\n";
  if (m_hostOptions) out += m_hostOptions->string() + "\n";
  for (const COptionStorePtr& layer : m_relayOptions)
    if (layer) out += layer->string() + "\n";
  return out;
}
