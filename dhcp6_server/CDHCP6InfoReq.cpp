#include "dhcp6_server/CDHCP6InfoReq.h"

#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_base/CDHCP6Util.h"

CDHCP6InfoReq::CDHCP6InfoReq(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                             unsigned int transactionId)
    : CDHCP6MsgProcessor(tls, node, std::move(link), "info", transactionId),
      m_policyOptions(_createOptionSet("info-req-policy-options")) {}

CDHCP6InfoReq::Code CDHCP6InfoReq::execute(unsigned short& port) {
  if (!_balancerCheck()) return CDHCP6TransmitCode::IGNORE;
  _provision();
  if (_namesOtherServer()) {
    _log(nuv::sev_info, _msg("%1 Discarding 'INFO-REQ' message (serverDUID != me)."));
    return CDHCP6TransmitCode::IGNORE;
  }
  _replyHeader(CDHCP6MsgType::reply);
  const COptionStorePtr& request = _source()->hostOptions();
  const COptionStorePtr& reply = _dest()->hostOptions();
  CDHCP6Util::cloneAndStoreOptional(CDHCP6OptionCode::clientID, request, reply);
  _mergePolicies(_clientPolicies(), m_policyOptions);
  _setDstPort(port, m_policyOptions);
  // Only what the client asked for: a stateless client gets no option it
  // did not request.
  std::vector<std::uint32_t> placed;
  CDHCP6Util::addRequestedOptions(CDHCP6Util::findORO(request), m_policyOptions, COptionPtr(),
                                  reply, placed);
  return CDHCP6TransmitCode::TRANSMIT;
}
