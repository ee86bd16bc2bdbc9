#include "dhcp6_server/CDHCP6Rebind.h"

CDHCP6Rebind::CDHCP6Rebind(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                           unsigned int transactionId)
    : CDHCP6ExtendingProcessor(tls, node, std::move(link), "rebind", transactionId) {}

CDHCP6Rebind::Code CDHCP6Rebind::execute(unsigned short& port) {
  nuv::CHexStore duid;
  std::vector<CBinding6Tuple> ids;
  if (!_beginLeasing(port, CDHCP6MsgType::reply, duid, ids)) return CDHCP6TransmitCode::IGNORE;
  Code code = CDHCP6TransmitCode::IGNORE;
  if (!_processBindingIDs(ids, code)) return code;
  if (!ids.empty() && m_iaCount == 0) {
    _log(nuv::sev_info, _msg("%1 Discarding 'REBIND' from device '%2'. (No addresses or prefixes "
                             "for this device.)")
                            .pushs(duid.string()));
    return CDHCP6TransmitCode::IGNORE;
  }
  _addTopLevelOptions();
  return CDHCP6TransmitCode::TRANSMIT;
}

bool CDHCP6Rebind::_unknownLease(const CBinding6Identifier& id, const char* line,
                                 const nuv::CIPAddress& lease, Code& code) {
  _log(nuv::sev_info, _msg(line).pushs(id.tuple().duid().string()).pusho(lease));
  code = CDHCP6TransmitCode::IGNORE;
  return false;
}

void CDHCP6Rebind::_refused(const nuv::CMessage& line) {
  _log(nuv::sev_info, line);
}
