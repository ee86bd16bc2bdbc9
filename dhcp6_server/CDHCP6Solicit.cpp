#include "dhcp6_server/CDHCP6Solicit.h"

#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_base/COptionTransforms.h"
#include "dhcp_server_common/CPool6Finder.h"
#include "dhcp_server_common/CPoolMap.h"
#include "extended/CIDHCPController.h"
#include "oodb/CDeviceAccessToken.h"
#include "oodb/CPrstException.h"

CDHCP6Solicit::CDHCP6Solicit(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                             unsigned int transactionId)
    : CDHCP6LeaseProcessor(tls, node, std::move(link), "solicit", transactionId) {}

CDHCP6Solicit::Code CDHCP6Solicit::execute(unsigned short& port) {
  nuv::CHexStore duid;
  std::vector<CBinding6Tuple> ids;
  if (!_beginLeasing(port, CDHCP6MsgType::advertise, duid, ids)) return CDHCP6TransmitCode::IGNORE;
  const COptionStorePtr& reply = _dest()->hostOptions();

  Code code = CDHCP6TransmitCode::IGNORE;
  if (!_processBindingIDs(ids, code)) return code;
  if (!ids.empty() && m_iaCount == 0) {
    CDHCP6Util::addStatusCode(reply, CDHCP6StatusCode::no_addrs_avail);
    return CDHCP6TransmitCode::TRANSMIT;
  }
  _addTopLevelOptions();
  return CDHCP6TransmitCode::TRANSMIT;
}

bool CDHCP6Solicit::_processIANA(const CBinding6Identifier& id, Code&) {
  _processIA<CDHCP6AddressKind, AExtensible>(id);
  return true;
}

bool CDHCP6Solicit::_processIAPD(const CBinding6Identifier& id, Code&) {
  _processIA<CDHCP6PrefixKind, NExtensible>(id);
  return true;
}

template <class Kind, class Result>
void CDHCP6Solicit::_processIA(const CBinding6Identifier& id) {
  std::vector<Result> results;
  _findExtensibleBindings(id, _relay(), _token(), results);
  if (results.empty()) {
    _pend<Kind>(id);
    return;
  }
  const COptionPtr ia = _createIA(id);
  std::uint32_t minimum = 0xffffffffu;
  for (const Result& result : results) _offerBinding<Kind>(id, result, ia, minimum);
  CDHCP6Util::setT1T2(ia, minimum);
  _addIARequestedOptions(id, nullptr, m_poolOptions, CDHCP6Util::subOptions(ia));
}

void CDHCP6Solicit::_offerABinding(const CBinding6Identifier& id, const AExtensible& result,
                                   const COptionPtr& ia, std::uint32_t& minimum) {
  _offerBinding<CDHCP6AddressKind>(id, result, ia, minimum);
}

void CDHCP6Solicit::_offerNBinding(const CBinding6Identifier& id, const NExtensible& result,
                                   const COptionPtr& ia, std::uint32_t& minimum) {
  _offerBinding<CDHCP6PrefixKind>(id, result, ia, minimum);
}

template <class Kind, class Result>
void CDHCP6Solicit::_offerBinding(const CBinding6Identifier& id, const Result& result,
                                  const COptionPtr& ia, std::uint32_t& minimum) {
  const auto& lease = *result.first;
  const Lifetimes lifetimes = _leaseLifetimes<Kind>(result);
  if (lifetimes.preferred < minimum) minimum = lifetimes.preferred;
  const COptionPtr offered =
      Kind::addLease(ia, lease.ipAddr(), lifetimes.length, lifetimes.preferred, lifetimes.valid);
  if (result.second) _mergePoolOptions(*result.second);
  _addIARequestedOptions(id, &lease.ipAddr(), m_poolOptions, CDHCP6Util::subOptions(offered));
}

void CDHCP6Solicit::_pendAddress(const CBinding6Identifier& id) {
  _pend<CDHCP6AddressKind>(id);
}

void CDHCP6Solicit::_pendPrefix(const CBinding6Identifier& id) {
  _pend<CDHCP6PrefixKind>(id);
}

template <class Kind>
void CDHCP6Solicit::_pend(const CBinding6Identifier& id) {
  using Pool = typename Kind::Pool;
  const std::string device = id.tuple().duid().string();
  CPoolMap<Pool> pools;
  for (const auto& pool : CPool6Finder<Pool>(_tls()->controller(), _pktID())
                              .findSuitablePools(Kind::poolFinder(*_tls()), _nodeContext(),
                                                 _relay(), _tls()->matchLocalSegmentPools()))
    pools.emplace(pool->identity(), pool);

  CPrstUserClassPtr<typename Kind::Pending> pending = _findPendingOf<Kind>(id);
  if (pending) {
    const nuv::CIPAddress& address = pending->offeredAddress();
    if (pools.count(pending->poolOID())) {
      if (_debugEnabled()) {
        nuv::CMessage line = _msg(Kind::kFoundPending);
        _log(nuv::sev_debug,
             Kind::pushLease(line, address, Kind::length(*pending)).pushs(device).pusho(_relay()));
      }
      pending->offerTime(nuv::CTimeT::now());
      pending->commit();
    } else {
      nuv::CMessage line = _msg(Kind::kDiscardPending);
      _log(nuv::sev_info,
           Kind::pushLease(line, address, Kind::length(*pending)).pushs(device).pusho(_relay()));
      _deletePendingOf<Kind>(pending);
      pending = {};
    }
  }
  if (!pending) {
    if (pools.empty()) {
      _log(nuv::sev_info, _msg(Kind::kNoPools).pushs(device).pusho(_relay()));
      return;
    }
    if (!_allocate<Kind>(id, pools, pending)) return;
  }

  const Pool& pool = *pools.at(pending->poolOID());
  const COptionPtr ia = _createIA(id);
  CDHCP6Util::setT1T2(ia, pool.prefLifetime());
  Kind::addLease(ia, pending->offeredAddress(), pool.subPrefixLen(), pool.prefLifetime(),
                 pool.validLifetime());
  _addIARequestedOptions(id, nullptr, optionsOf(pool), CDHCP6Util::subOptions(ia));
}

template <class Kind>
bool CDHCP6Solicit::_allocate(const CBinding6Identifier& id,
                              const CPoolMap<typename Kind::Pool>& pools,
                              CPrstUserClassPtr<typename Kind::Pending>& pending) {
  const std::string device = id.tuple().duid().string();
  std::vector<long> candidates;
  candidates.reserve(pools.size());
  for (const auto& entry : pools) candidates.push_back(entry.first);
  const char* const context = Kind::kPoolKind == CIDHCPAddrMgr::addressPools
                                  ? "CDHCP6Solicit::_createAPending"
                                  : "CDHCP6Solicit::_createNPending";
  CDHCP6TLS& tls = *_tls();
  CIDHCPAddrMgr& addrMgr = *tls.context().dhcpMediator().addrMgr();
  try {
    for (unsigned attempt = 0; attempt < kMaxTakenCandidates; ++attempt) {
      if (_debugEnabled())
        _log(nuv::sev_debug,
             _msg(Kind::kRequesting).pushs(pools.string()).pushs(device).pusho(_relay()));
      nuv::CIPAddress address;
      long poolOID = 0;
      addrMgr.getPoolCandidate(Kind::kPoolKind, candidates, address, poolOID, tls.stats());
      if (_debugEnabled())
        _log(nuv::sev_debug,
             _msg(Kind::kFoundFree).pusho(address).push(poolOID).pushs(device).pusho(_relay()));
      // Should the transaction fail, the reservation goes back.
      tls.syncCommands().append(std::make_unique<typename Kind::Release>(
          tls.context(), address, poolOID, tls.stats(), CSyncCommand::onFailure));
      const auto pool = pools.find(static_cast<std::int32_t>(poolOID));
      if (pool == pools.end())
        NUV_THROW("CDHCP6Solicit::_allocate",
                  nuv::CMessage("Cannot offer %1 from pool %2.").pusho(address).push(poolOID),
                  nuv::CMessage("The pool is not a candidate."));
      pending = _createPending<Kind>(id, address, *pool->second, context);
      if (pending) {
        nuv::CMessage line = _msg(Kind::kPended);
        _log(nuv::sev_info,
             Kind::pushLease(line, address, Kind::length(*pending)).pushs(device).pusho(_relay()));
        return true;
      }
      // Another server offered or leased it meanwhile: it is not ours to hold.
      addrMgr.releasePoolCandidate(Kind::kPoolKind, address, poolOID, tls.stats());
    }
    return false;
  } catch (const CPrstException&) {
    throw;  // the transaction is gone: the handler answers nothing
  } catch (const nuv::CException& e) {
    tls.controller()->exceptionFacade().record(e);
    tls.controller()->exceptionFacade().log();
    return false;
  }
}

template <class Kind>
CPrstUserClassPtr<typename Kind::Pending> CDHCP6Solicit::_createPending(
    const CBinding6Identifier& id, const nuv::CIPAddress& address, const typename Kind::Pool& pool,
    const char* context) {
  auto pending = _tls()->prstSession().createTransient<typename Kind::Pending>();
  if (!pending)
    NUV_THROW(context, nuv::CMessage(Kind::kCreateFailed).pushs(id.tuple().duid().string()),
              nuv::CMessage("Not enough memory."));
  pending->applyBindingID(id);
  pending->offerTime(nuv::CTimeT::now());
  pending->offeredAddress(address);
  pending->relayAddress(_relay());
  pending->poolOID(pool.identity());
  Kind::length(*pending, pool.subPrefixLen());
  // Several servers may share the database: the first offer of an address wins.
  if (!pending->commitUnique()) return {};
  // The search saw leases and offers at one moment; since then another
  // server may have turned its own offer of the address into a lease. The
  // offer stored now keeps any new lease of the address from being made,
  // so one look at the leases settles it.
  nuv::CStringMap args;
  args.set("IPADDR", address.string());
  if (!_tls()
           ->prstSession()
           .select<typename Kind::Binding>("binding.addr", args, CPrstSelectOptions().withRows(1))
           .empty()) {
    pending->deletePersistent();
    pending->commit();
    return {};
  }
  return pending;
}
