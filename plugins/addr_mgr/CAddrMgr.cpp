#include "plugins/addr_mgr/CAddrMgr.h"

#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_server_common/CNoAddressAvailException.h"
#include "oodb/CPrstUserClassPtr.h"
#include "plugins/addr_mgr/CPoolWalk.h"

CAddrMgr::CAddrMgr(CIDHCPContext& context, CPoolCandidates& candidates)
    : m_context(context), m_candidates(candidates) {}

void CAddrMgr::getPoolCandidate(int poolKind, const std::vector<long>& poolOIDs,
                                nuv::CIPAddress& address, long& poolOID, CIDHCPStats&) {
  for (long oid : poolOIDs) {
    const nuv::CIPAddress found = poolKind == prefixPools
                                      ? _searchPool<CPrstNetworkPool6>(poolKind, oid)
                                      : _searchPool<CPrstAddressPool6>(poolKind, oid);
    if (found.isValid()) {
      address = found;
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

template <class Pool>
nuv::CIPAddress CAddrMgr::_searchPool(int poolKind, long poolOID) {
  CIPrstSession& session = m_context.prstSession();
  const auto pool = session.findPK<Pool>(static_cast<std::int32_t>(poolOID));
  if (!pool || !pool->active()) return {};
  return CPoolWalk(session, m_candidates, poolKind, poolOID, *pool).next();
}

void CAddrMgr::releasePoolCandidate(int poolKind, const nuv::CIPAddress& address, long,
                                    CIDHCPStats&) {
  m_candidates.release(poolKind, address);
}

CIDHCPFailoverAdmin& CAddrMgr::failoverAdmin() {
  NUV_THROW("CAddrMgr::failoverAdmin", nuv::CMessage("No failover admin manager available."),
            nuv::CMessage("This server runs without a failover partner."));
}
