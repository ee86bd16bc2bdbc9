#pragma once
// Stands in for a missing address manager: it has no free addresses, grants
// no lease rights and passes requested lease times through.

#include "dhcp_server_common/CIDHCPAddrMgr.h"

class CDHCPAddrMgrStub : public CIDHCPAddrMgr {
 public:
  void getPoolCandidate(int poolKind, const std::vector<long>& poolOIDs, nuv::CIPAddress& address,
                        long& poolOID, CIDHCPStats& stats) override;
  void releasePoolCandidate(int, const nuv::CIPAddress&, long, CIDHCPStats&) override {}
  void confirmTransient(int, const nuv::CIPAddress&, long) override {}
  std::uint32_t allowedLeaseTime(int, long, const nuv::CIPAddress&,
                                 std::uint32_t requested) override {
    return requested;
  }
  CLeaseRights rights(int, long) override { return CLeaseRights::none; }
  void emergencyTIDReclaim(int, long) override {}
  CIDHCPFailoverAdmin& failoverAdmin() override;
  void refreshConfig() override {}
  void reclaimAddressesIf() override {}
  void notifyNormalState() override {}
  void deregister() override {}
};
