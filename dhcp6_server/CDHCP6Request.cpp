#include "dhcp6_server/CDHCP6Request.h"

#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_server_common/CLeaseEvent.h"
#include "dhcp_server_common/CPoolFilter.h"

CDHCP6Request::CDHCP6Request(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                             unsigned int transactionId)
    : CDHCP6LeaseProcessor(tls, node, std::move(link), "request", transactionId) {}

CDHCP6Request::Code CDHCP6Request::execute(unsigned short& port) {
  nuv::CHexStore duid;
  std::vector<CBinding6Tuple> ids;
  if (!_beginLeasing(port, CDHCP6MsgType::reply, duid, ids)) return CDHCP6TransmitCode::IGNORE;
  const COptionStorePtr& request = _source()->hostOptions();
  // A Request without a Server Identifier names no server, so not this one.
  if (CDHCP6Util::requestedServer(request) != _serverDUID()) {
    for (const CBinding6Tuple& tuple : ids) {
      const CBinding6Identifier id(tuple);
      // Servers sharing the database share the offers: the one the client
      // asks the other server for is that server's to lease now.
      const APending pending = _findAPending(id, _relay());
      if (pending && !CDHCP6Util::findBindingID(tuple, pending->offeredAddress(), request))
        _deleteAPending(pending);
    }
    _log(nuv::sev_info, _msg("%1 Discarding 'REQUEST' (serverDUID != me)."));
    return CDHCP6TransmitCode::IGNORE;
  }

  // Planned before the IAs, so that each address binding keeps its DNS
  // names with its own write; read from the policy set before step 12
  // empties it.
  m_ddnsPlan = _ddnsPlan(_source(), m_policyOptions);
  Code code = CDHCP6TransmitCode::IGNORE;
  if (!_processBindingIDs(ids, code)) return code;
  _ddnsExtendBindings(_source(), _dest(), m_ddnsPlan, m_ddnsAddresses);
  _addTopLevelOptions();
  return CDHCP6TransmitCode::TRANSMIT;
}

bool CDHCP6Request::_processIANA(const CBinding6Identifier& id, Code&) {
  _processIA<CDHCP6AddressKind, AExtensible>(id);
  return true;
}

bool CDHCP6Request::_processIAPD(const CBinding6Identifier& id, Code&) {
  _processIA<CDHCP6PrefixKind, NExtensible>(id);
  return true;
}

template <class Kind, class Result>
void CDHCP6Request::_processIA(const CBinding6Identifier& id) {
  std::uint32_t minimum = 0xffffffffu;
  COptionPtr ia;
  std::vector<Result> results;
  _findExtensibleBindings(id, _relay(), _token(), results);
  for (const Result& result : results) _extend<Kind>(id, result, ia, minimum);
  if (const auto pending = _findPendingOf<Kind>(id)) _claim<Kind>(id, pending, ia, minimum);
  _createMinimalIAIf(id, ia);
  if (CDHCP6Util::subOptions(ia)->defined(CTagPath{Kind::kLeaseOption})) {
    CDHCP6Util::setT1T2(ia, minimum);
    return;
  }
  _log(nuv::sev_info, _msg(Kind::kNoLeases).pushs(id.tuple().duid().string()).pusho(_relay()));
  CDHCP6Util::addStatusCode(ia, CDHCP6StatusCode::not_on_link);
}

void CDHCP6Request::_processABinding(const CBinding6Identifier& id, const AExtensible& result,
                                     COptionPtr& ia, std::uint32_t& minimum) {
  _extend<CDHCP6AddressKind>(id, result, ia, minimum);
}

void CDHCP6Request::_processNBinding(const CBinding6Identifier& id, const NExtensible& result,
                                     COptionPtr& ia, std::uint32_t& minimum) {
  _extend<CDHCP6PrefixKind>(id, result, ia, minimum);
}

template <class Kind, class Result>
void CDHCP6Request::_extend(const CBinding6Identifier& id, const Result& result, COptionPtr& ia,
                            std::uint32_t& minimum) {
  auto& binding = *result.first;
  const Lifetimes lifetimes = _leaseLifetimes<Kind>(result);
  if constexpr (Kind::kPoolKind == CIDHCPAddrMgr::addressPools)
    _ddnsKeepNames(m_ddnsPlan, binding, binding.ipAddr());
  _extendLease(id, binding, lifetimes.valid, CLeaseEvent::typeObtain(), Kind::eventClass());
  nuv::CMessage line = _msg(Kind::kExtended).pushs(id.tuple().duid().string()).pusho(_relay());
  _log(nuv::sev_info, Kind::pushLease(line, binding.ipAddr(), Kind::length(binding)));
  _reply<Kind>(id, ia, binding.ipAddr(), lifetimes.length, lifetimes.preferred, lifetimes.valid,
               result.second.get(), minimum);
}

void CDHCP6Request::_processAPending(const CBinding6Identifier& id, const APending& pending,
                                     COptionPtr& ia, std::uint32_t& minimum) {
  _claim<CDHCP6AddressKind>(id, pending, ia, minimum);
}

void CDHCP6Request::_processNPending(const CBinding6Identifier& id, const NPending& pending,
                                     COptionPtr& ia, std::uint32_t& minimum) {
  _claim<CDHCP6PrefixKind>(id, pending, ia, minimum);
}

template <class Kind>
void CDHCP6Request::_claim(const CBinding6Identifier& id,
                           const CPrstUserClassPtr<typename Kind::Pending>& pending, COptionPtr& ia,
                           std::uint32_t& minimum) {
  using Pool = typename Kind::Pool;
  CPoolFinder<Pool>& finder = Kind::poolFinder(*_tls());
  const std::string device = id.tuple().duid().string();
  const auto pool = finder.findPool(_pktID(), pending->poolOID(), _token());
  if (!pool || !CPoolFilter<Pool>(_tls()->controller()).isUsable(*pool)) {
    const auto named = pool ? pool : finder._findPool(_pktID(), pending->poolOID(), _token());
    _log(nuv::sev_info, _msg(Kind::kDropped)
                            .pushs(device)
                            .pushs(named ? named->name() : std::to_string(pending->poolOID())));
    _deletePendingOf<Kind>(pending);
    _createMinimalIAIf(id, ia);
    return;
  }

  auto binding = _tls()->prstSession().createTransient<typename Kind::Binding>();
  binding->copyFromPending(*pending);
  binding->leaseDuration(pool->validLifetime());
  binding->accountOID(_account().id());
  binding->domainMemberships().assignFromIntersect(pool->domainMemberships(),
                                                   _nodeContext().token());
  binding->leaseCommitTime(nuv::CTimeT::now());
  const nuv::CIPAddress address = pending->offeredAddress();
  const std::uint32_t length = Kind::length(*pending);
  if constexpr (Kind::kPoolKind == CIDHCPAddrMgr::addressPools)
    _ddnsKeepNames(m_ddnsPlan, *binding, address);
  // Several servers may share the database: the address may have been
  // leased elsewhere since it was offered here.
  const bool stored = binding->commitUnique();
  _deletePendingOf<Kind>(pending);
  if (!stored) {
    _log(nuv::sev_warning, _msg(Kind::kTaken).pushs(device).pusho(address));
    _createMinimalIAIf(id, ia);
    return;
  }
  nuv::CMessage line = _msg(Kind::kCreated).pushs(device).pusho(_relay());
  _log(nuv::sev_info, Kind::pushLease(line, address, length).pushs(pool->name()));
  _queueLeaseEvent(id, *binding, CLeaseEvent::typeObtain(), Kind::eventClass());
  _reply<Kind>(id, ia, address, pool->subPrefixLen(), pool->prefLifetime(), pool->validLifetime(),
               pool.get(), minimum);
}

template <class Kind>
void CDHCP6Request::_reply(const CBinding6Identifier& id, COptionPtr& ia,
                           const nuv::CIPAddress& address, std::uint32_t length,
                           std::uint32_t preferred, std::uint32_t valid, const CPrstPool* pool,
                           std::uint32_t& minimum) {
  // DNS names are kept for addresses, not for delegated prefixes.
  if constexpr (Kind::kPoolKind == CIDHCPAddrMgr::addressPools) m_ddnsAddresses.push_back(address);
  _createMinimalIAIf(id, ia);
  if (preferred < minimum) minimum = preferred;
  const COptionPtr leased = Kind::addLease(ia, address, length, preferred, valid);
  if (pool) _mergePoolOptions(*pool);
  _addIARequestedOptions(id, &address, m_poolOptions, CDHCP6Util::subOptions(leased));
}
