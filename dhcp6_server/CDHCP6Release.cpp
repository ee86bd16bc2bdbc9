#include "dhcp6_server/CDHCP6Release.h"

#include "dhcp_server_common/CLeaseEvent.h"

CDHCP6Release::CDHCP6Release(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                             unsigned int transactionId)
    : CDHCP6LeaseProcessor(tls, node, std::move(link), "release", transactionId) {}

CDHCP6Release::Code CDHCP6Release::execute(unsigned short& port) {
  nuv::CHexStore duid;
  std::vector<CBinding6Tuple> ids;
  if (!_beginLeasing(port, CDHCP6MsgType::reply, duid, ids,
                     "%1 Discarding 'RELEASE' (serverDUID != me)."))
    return CDHCP6TransmitCode::IGNORE;
  Code code = CDHCP6TransmitCode::IGNORE;
  if (!_processBindingIDs(ids, code)) return code;
  _ddnsReleaseBindings(_source(), _dest(), m_policyOptions, m_released, m_unnamed,
                       std::move(m_forwardDeletes), std::move(m_reverseDeletes));
  CDHCP6Util::addStatusCode(_dest()->hostOptions(), CDHCP6StatusCode::success);
  return CDHCP6TransmitCode::TRANSMIT;
}

bool CDHCP6Release::_processIANA(const CBinding6Identifier& id, Code&) {
  _processIA<CDHCP6AddressKind, AExtensible>(id);
  return true;
}

bool CDHCP6Release::_processIAPD(const CBinding6Identifier& id, Code&) {
  _processIA<CDHCP6PrefixKind, NExtensible>(id);
  return true;
}

template <class Kind, class Result>
void CDHCP6Release::_processIA(const CBinding6Identifier& id) {
  std::vector<Result> results;
  _findExtensibleBindings(id, _relay(), _token(), results);
  for (const Result& result : results) {
    auto& binding = *result.first;
    binding.leaseDuration(0);
    // The records go now: the reclaimer, removing the lease later, finds
    // no names left to delete.
    if constexpr (Kind::kPoolKind == CIDHCPAddrMgr::addressPools) {
      m_released.push_back(binding.ipAddr());
      if (!_ddnsTakeNames(binding, m_forwardDeletes, m_reverseDeletes))
        m_unnamed.push_back(binding.ipAddr());
    }
    binding.fastPartialCommit();
    _queueLeaseEvent(id, binding, CLeaseEvent::typeRelease(), Kind::eventClass());
  }
  if (results.empty()) CDHCP6Util::addStatusCode(_createIA(id), CDHCP6StatusCode::no_binding);
}
