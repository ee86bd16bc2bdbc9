#include "dhcp6_server/CDHCP6ExtendingProcessor.h"

#include "dhcp_server_common/CLeaseEvent.h"

bool CDHCP6ExtendingProcessor::_processIANA(const CBinding6Identifier& id, Code& code) {
  return _processIA<CDHCP6AddressKind>(id, code);
}

bool CDHCP6ExtendingProcessor::_processIAPD(const CBinding6Identifier& id, Code& code) {
  return _processIA<CDHCP6PrefixKind>(id, code);
}

bool CDHCP6ExtendingProcessor::_processIAADDR(const CBinding6Identifier& id,
                                              const COption& clientOption, COptionPtr& ia,
                                              std::uint32_t& minimum, Code& code) {
  return _processLease<CDHCP6AddressKind>(id, clientOption, ia, minimum, code);
}

bool CDHCP6ExtendingProcessor::_processIAPrefix(const CBinding6Identifier& id,
                                                const COption& clientOption, COptionPtr& ia,
                                                std::uint32_t& minimum, Code& code) {
  return _processLease<CDHCP6PrefixKind>(id, clientOption, ia, minimum, code);
}

template <class Kind>
bool CDHCP6ExtendingProcessor::_processIA(const CBinding6Identifier& id, Code& code) {
  std::uint32_t minimum = 0xffffffffu;
  COptionPtr ia;
  m_extended = 0;
  if (const COptionPtr asked = CDHCP6Util::findBindingID(id.tuple(), _source()->hostOptions()))
    if (const COption::Children* named = CDHCP6Util::subOptions(asked)->children())
      for (const COptionPtr& option : *named)
        if (option->tag() == Kind::kLeaseOption &&
            !_processLease<Kind>(id, *option, ia, minimum, code))
          return false;
  if (!ia) {
    _nothingWritten(id, ia, Kind::kNotRenewable);
    return true;
  }
  // Leases refused with lifetimes 0 say nothing about when to renew.
  CDHCP6Util::setT1T2(ia, m_extended > 0 ? minimum : 0);
  return true;
}

template <class Kind>
bool CDHCP6ExtendingProcessor::_processLease(const CBinding6Identifier& id,
                                             const COption& clientOption, COptionPtr& ia,
                                             std::uint32_t& minimum, Code& code) {
  const nuv::CIPAddress lease = Kind::leaseOf(clientOption);
  const auto found =
      Kind::Binding::selectByKeyAndAddr(_tls()->prstSession(), _token(), id, lease, 1);
  if (found.empty()) return _unknownLease(id, Kind::kRebindUnknown, lease, code);
  auto& binding = *found.front();
  std::vector<CBindingFilterResult<typename Kind::Pool, typename Kind::Binding>> results;
  const bool onLink = binding.ipRelay() == _relay();
  if (onLink) _filterExtensible<Kind>(found, results);
  if (results.empty()) {
    const std::string device = id.tuple().duid().string();
    if (!onLink) {
      _refused(_msg(Kind::kRebindOffLink)
                   .pusho(lease)
                   .pushs(device)
                   .pusho(_relay())
                   .pusho(binding.ipRelay()));
    } else {
      const auto pool = Kind::poolFinder(*_tls())._findPool(_pktID(), binding.poolOID(), _token());
      _refused(_msg(Kind::kRebindNoPool)
                   .pusho(lease)
                   .pushs(device)
                   .pusho(_relay())
                   .pushs(pool ? pool->name() : std::to_string(binding.poolOID())));
    }
    _createMinimalIAIf(id, ia);
    Kind::addLease(ia, lease, Kind::length(binding), 0, 0);
    return true;
  }
  const Lifetimes lifetimes = _leaseLifetimes<Kind>(results.front());
  if (lifetimes.preferred < minimum) minimum = lifetimes.preferred;
  ++m_extended;
  _extendLease(id, binding, lifetimes.valid, CLeaseEvent::typeRenew(), Kind::eventClass());
  _createMinimalIAIf(id, ia);
  const COptionPtr written =
      Kind::addLease(ia, lease, lifetimes.length, lifetimes.preferred, lifetimes.valid);
  if (const auto& pool = results.front().second) _mergePoolOptions(*pool);
  _addIARequestedOptions(id, &lease, m_poolOptions, CDHCP6Util::subOptions(written));
  return true;
}
