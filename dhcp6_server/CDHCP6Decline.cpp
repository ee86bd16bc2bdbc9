#include "dhcp6_server/CDHCP6Decline.h"

CDHCP6Decline::CDHCP6Decline(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                             unsigned int transactionId)
    : CDHCP6LeaseProcessor(tls, node, std::move(link), "decline", transactionId) {}

CDHCP6Decline::Code CDHCP6Decline::execute(unsigned short& port) {
  nuv::CHexStore duid;
  std::vector<CBinding6Tuple> ids;
  if (!_beginLeasing(port, CDHCP6MsgType::reply, duid, ids,
                     "%1 Discarding 'DECLINE' message (serverDUID != me)."))
    return CDHCP6TransmitCode::IGNORE;
  Code code = CDHCP6TransmitCode::IGNORE;
  if (!_processBindingIDs(ids, code)) return code;
  CDHCP6Util::addStatusCode(_dest()->hostOptions(), CDHCP6StatusCode::success);
  return CDHCP6TransmitCode::TRANSMIT;
}

bool CDHCP6Decline::_processIANA(const CBinding6Identifier& id, Code&) {
  _processIA<CDHCP6AddressKind>(id);
  return true;
}

bool CDHCP6Decline::_processIAPD(const CBinding6Identifier& id, Code&) {
  _processIA<CDHCP6PrefixKind>(id);
  return true;
}

template <class Kind>
void CDHCP6Decline::_processIA(const CBinding6Identifier& id) {
  const COptionPtr asked = CDHCP6Util::findBindingID(id.tuple(), _source()->hostOptions());
  const COption::Children* named = asked ? CDHCP6Util::subOptions(asked)->children() : nullptr;
  if (!named) return;
  const std::string device = id.tuple().duid().string();
  for (const COptionPtr& option : *named) {
    if (option->tag() != Kind::kLeaseOption) continue;
    const auto found = Kind::Binding::selectByKeyAndAddr(_tls()->prstSession(), _token(), id,
                                                         Kind::leaseOf(*option), 1);
    if (found.empty()) {
      CDHCP6Util::addStatusCode(_createIA(id), CDHCP6StatusCode::no_binding);
      _log(nuv::sev_info, _msg("%1 Received message 'DECLINE' from device '%2' on link %3, but I "
                               "have no record of that binding.")
                              .pushs(device)
                              .pusho(_relay()));
      return;
    }
    found.front()->deletePersistent();
    found.front()->commit();
    _log(nuv::sev_info, _msg("%1 Received message 'DECLINE' from device '%2' on link %3.")
                            .pushs(device)
                            .pusho(_relay()));
  }
}
