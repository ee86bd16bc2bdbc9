#pragma once
// One worker thread's address manager: picks a free address (prefix) in
// the candidate pools, in their order (CPoolWalk says what free means and
// how it is found). It reads through the thread's own session, inside the
// transaction the caller has open, so it never waits for a lock that
// transaction holds; what other transactions have not committed yet is
// covered by the reservations all threads share, and the unique key on
// the offers' addresses settles what several servers write at once.

#include <vector>

#include "dhcp_server_common/CIDHCPAddrMgr.h"
#include "dhcp_server_common/CIDHCPContext.h"
#include "plugins/addr_mgr/CPoolCandidates.h"

class CAddrMgr : public CIDHCPAddrMgr {
 public:
  CAddrMgr(CIDHCPContext& context, CPoolCandidates& candidates);

  void getPoolCandidate(int poolKind, const std::vector<long>& poolOIDs, nuv::CIPAddress& address,
                        long& poolOID, CIDHCPStats& stats) override;
  void releasePoolCandidate(int poolKind, const nuv::CIPAddress& address, long poolOID,
                            CIDHCPStats& stats) override;
  void confirmTransient(int, const nuv::CIPAddress&, long) override {}
  std::uint32_t allowedLeaseTime(int, long, const nuv::CIPAddress&,
                                 std::uint32_t requested) override {
    return requested;
  }
  // Leases in any pool may be renewed and made.
  CLeaseRights rights(int, long) override {
    return CLeaseRights(CLeaseRights::renew | CLeaseRights::create);
  }
  void emergencyTIDReclaim(int, long) override {}
  CIDHCPFailoverAdmin& failoverAdmin() override;
  void refreshConfig() override {}
  void reclaimAddressesIf() override {}
  void notifyNormalState() override {}
  void deregister() override {}

 private:
  // A free candidate of the pool, reserved; unset when it has none.
  template <class Pool>
  nuv::CIPAddress _searchPool(int poolKind, long poolOID);

  CIDHCPContext& m_context;
  CPoolCandidates& m_candidates;  // the plug-in's; outlives every manager
};
