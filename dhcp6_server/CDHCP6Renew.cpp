#include "dhcp6_server/CDHCP6Renew.h"

CDHCP6Renew::CDHCP6Renew(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                         unsigned int transactionId)
    : CDHCP6ExtendingProcessor(tls, node, std::move(link), "renew", transactionId) {}

CDHCP6Renew::Code CDHCP6Renew::execute(unsigned short& port) {
  nuv::CHexStore duid;
  std::vector<CBinding6Tuple> ids;
  if (!_beginLeasing(port, CDHCP6MsgType::reply, duid, ids)) return CDHCP6TransmitCode::IGNORE;
  if (CDHCP6Util::requestedServer(_source()->hostOptions()) != _serverDUID()) {
    _log(nuv::sev_info, _msg("%1 Discarding 'RENEW' (serverDUID != me)."));
    return CDHCP6TransmitCode::IGNORE;
  }
  Code code = CDHCP6TransmitCode::IGNORE;
  if (!_processBindingIDs(ids, code)) return code;
  _addTopLevelOptions();
  return CDHCP6TransmitCode::TRANSMIT;
}

void CDHCP6Renew::_nothingWritten(const CBinding6Identifier& id, COptionPtr& ia,
                                  const char* notRenewableLine) {
  _createMinimalIAIf(id, ia);
  _log(nuv::sev_info, _msg(notRenewableLine).pushs(id.tuple().duid().string()).pusho(_relay()));
  CDHCP6Util::addStatusCode(ia, CDHCP6StatusCode::no_binding);
}
