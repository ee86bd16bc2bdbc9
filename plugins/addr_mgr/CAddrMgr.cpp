#include "plugins/addr_mgr/CAddrMgr.h"

#include <set>

#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_server_common/CNoAddressAvailException.h"
#include "extended/CIDHCPController.h"
#include "oodb/CPrstTransaction.h"
#include "oodb_persistence/CIDatabaseInit.h"
#include "oodb_persistence/CPrstDBSession.h"

namespace {

// The distance between two neighbouring candidates of the pool: one
// address, or one delegated prefix.
nuv::CIPAddress stepOf(const CPrstPool& pool, const nuv::CIPAddress& start) {
  nuv::CIPAddress step(start.type());
  step += 1;
  if (pool.type() == CPrstPool::networkPool)
    step.shiftLeft(static_cast<unsigned>(start.bitWidth()) - pool.subPrefixLen());
  return step;
}

}  // namespace

CAddrMgr::CAddrMgr(CIDHCPContext& context, CPoolCandidates& candidates)
    : m_context(context), m_candidates(candidates), m_factory(&context) {}

CAddrMgr::~CAddrMgr() = default;

CPrstDBSession& CAddrMgr::_session() {
  if (!m_session)
    m_session = CIDatabaseInit::find(*m_context.controller()).openSession({&m_factory});
  return *m_session;
}

void CAddrMgr::getPoolCandidate(int poolKind, const std::vector<long>& poolOIDs,
                                nuv::CIPAddress& address, long& poolOID, CIDHCPStats&) {
  CPrstTransaction reading(_session());  // nothing is written: rolled back
  for (long oid : poolOIDs) {
    const bool found =
        poolKind == prefixPools
            ? _searchPool<CPrstNetworkPool6, CPrstNetworkBinding6, CPrstNetworkPending6>(
                  poolKind, oid, address)
            : _searchPool<CPrstAddressPool6, CPrstAddressBinding6, CPrstAddressPending6>(
                  poolKind, oid, address);
    if (found) {
      poolOID = oid;
      return;
    }
  }
  throw CNoAddressAvailException(
      nuv::CMessage(poolKind == prefixPools ? "No free prefixes available."
                                            : "No free addresses available."),
      nuv::CMessage("Every candidate pool is exhausted."), "addr_mgr", "CAddrMgr::getPoolCandidate",
      __FILE__, __LINE__);
}

template <class Pool, class Binding, class Pending>
bool CAddrMgr::_searchPool(int poolKind, long poolOID, nuv::CIPAddress& address) {
  CPrstDBSession& s = _session();
  const auto pool = s.findPK<Pool>(static_cast<std::int32_t>(poolOID));
  if (!pool || !pool->active()) return false;
  const nuv::CIPAddress start = pool->range().start(), stop = pool->range().stop();
  if (!start.isValid() || !stop.isValid() || stop < start) return false;

  // What the pool's leases and offers hold, as committed so far.
  std::set<nuv::CIPAddress> used;
  for (const auto& b : Binding::selectByPool(s, static_cast<std::int32_t>(poolOID)))
    used.insert(b->ipAddr());
  for (const auto& p : Pending::selectByPool(s, static_cast<std::int32_t>(poolOID)))
    used.insert(p->offeredAddress());

  const nuv::CIPAddress step = stepOf(*pool, start);
  nuv::CIPAddress candidate = m_candidates.resume(poolKind, poolOID);
  if (!pool->range().contains(candidate)) candidate = start;
  const nuv::CIPAddress first = candidate;
  for (unsigned probe = 0; probe < kProbesPerPool; ++probe) {
    // After the last one the search goes on at the range start.
    const nuv::CIPAddress after =
        candidate >= stop || candidate + step <= candidate ? start : candidate + step;
    if (!used.count(candidate) && !pool->excluded(candidate) && !_leased<Binding>(candidate) &&
        m_candidates.reserve(poolKind, candidate)) {
      m_candidates.resume(poolKind, poolOID, after);
      address = candidate;
      return true;
    }
    candidate = after;
    if (candidate == first) return false;  // the whole range is taken
  }
  m_candidates.resume(poolKind, poolOID, candidate);
  return false;
}

template <class Binding>
bool CAddrMgr::_leased(const nuv::CIPAddress& address) {
  // Also a lease of no pool (an operator's reservation).
  nuv::CStringMap args;
  args.set("IPADDR", address.string());
  return !_session()
              .select<Binding>("binding.addr", args, CPrstSelectOptions().withRows(1))
              .empty();
}

void CAddrMgr::releasePoolCandidate(int poolKind, const nuv::CIPAddress& address, long,
                                    CIDHCPStats&) {
  m_candidates.release(poolKind, address);
}

CIDHCPFailoverAdmin& CAddrMgr::failoverAdmin() {
  NUV_THROW("CAddrMgr::failoverAdmin", nuv::CMessage("No failover admin manager available."),
            nuv::CMessage("This server runs without a failover partner."));
}
