#include "dhcp6_server/CDHCP6Confirm.h"

#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"

CDHCP6Confirm::CDHCP6Confirm(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                             unsigned int transactionId)
    : CDHCP6MsgProcessor(tls, node, std::move(link), "confirm", transactionId),
      m_policyOptions(_createOptionSet("confirm-policy-options")) {}

CDHCP6Confirm::Code CDHCP6Confirm::execute(unsigned short& port) {
  nuv::CHexStore duid;
  std::vector<CBinding6Tuple> ids;
  if (!_begin(port, CDHCP6MsgType::reply, m_policyOptions, duid, ids))
    return CDHCP6TransmitCode::IGNORE;
  const COptionStorePtr& reply = _dest()->hostOptions();

  if (ids.empty()) {
    _log(nuv::sev_info,
         _msg("%1 Discarding confirm from device '%2' on link '%3'. No IAs specified.")
             .pushs(duid.string())
             .pusho(_relay()));
    return CDHCP6TransmitCode::IGNORE;
  }
  Code code = CDHCP6TransmitCode::IGNORE;
  if (!_processBindingIDs(ids, code)) return code;
  if (m_unknown > 0) {
    _log(nuv::sev_info, _msg("%1 Discarding confirm from device '%2' on link %3. Cannot confirm "
                             "%4 unknown address(es).")
                            .pushs(duid.string())
                            .pusho(_relay())
                            .push(m_unknown));
    return CDHCP6TransmitCode::IGNORE;
  }
  if (m_offLink > 0) {
    _log(nuv::sev_info,
         _msg("%1 Not confirming device '%2' on link '%3'. %4 bindings are off link.")
             .pushs(duid.string())
             .pusho(_relay())
             .push(m_offLink));
    CDHCP6Util::addStatusCode(reply, CDHCP6StatusCode::not_on_link);
    return CDHCP6TransmitCode::TRANSMIT;
  }
  CDHCP6Util::addStatusCode(reply, CDHCP6StatusCode::success);
  return CDHCP6TransmitCode::TRANSMIT;
}

template <class Binding>
void CDHCP6Confirm::_judge(const CBinding6Identifier& id) {
  const COptionPtr ia = CDHCP6Util::findBindingID(id.tuple(), _source()->hostOptions());
  if (!ia) return;
  CIPrstSession& session = _tls()->prstSession();
  const auto token = std::make_shared<CDeviceAccessToken>(_nodeContext().token());
  for (const nuv::CIPAddress& address : CDHCP6Util::iaAddresses(ia)) {
    const auto found = Binding::selectByKeyAndAddr(session, token, id, address, 1);
    if (found.empty())
      ++m_unknown;
    else if (found.front()->ipRelay() != _relay())
      ++m_offLink;
  }
}

bool CDHCP6Confirm::_processIANA(const CBinding6Identifier& id, Code&) {
  _judge<CPrstAddressBinding6>(id);
  return true;
}

bool CDHCP6Confirm::_processIAPD(const CBinding6Identifier& id, Code&) {
  _judge<CPrstNetworkBinding6>(id);
  return true;
}
