#pragma once
// One worker thread's address manager: picks a free address (prefix) in
// the candidate pools, in their order. Free means inside the pool's range,
// not excluded, not leased, not offered and not reserved by any thread.
// It reads through a database session of its own, opened on first use on
// the calling thread, so it sees what other transactions committed; what
// they have not committed yet is covered by the shared reservations.

#include <memory>
#include <vector>

#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "dhcp_server_common/CIDHCPAddrMgr.h"
#include "dhcp_server_common/CIDHCPContext.h"
#include "plugins/addr_mgr/CPoolCandidates.h"

class CPrstDBSession;

class CAddrMgr : public CIDHCPAddrMgr {
 public:
  // At most this many addresses (prefixes) are probed per pool and request.
  static constexpr unsigned kProbesPerPool = 4096;

  CAddrMgr(CIDHCPContext& context, CPoolCandidates& candidates);
  ~CAddrMgr() override;

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
  template <class Pool, class Binding, class Pending>
  bool _searchPool(int poolKind, long poolOID, nuv::CIPAddress& address);
  template <class Binding>
  bool _leased(const nuv::CIPAddress& address);
  CPrstDBSession& _session();

  CIDHCPContext& m_context;
  CPoolCandidates& m_candidates;  // the plug-in's; outlives every manager
  CPrstDHCP6ObjectAbstractFactory m_factory;
  std::unique_ptr<CPrstDBSession> m_session;
};
