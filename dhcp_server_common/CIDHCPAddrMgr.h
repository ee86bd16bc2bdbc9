#pragma once
// The address manager: picks a free address or prefix out of candidate
// pools and takes back the ones no longer needed. Found through a plug-in
// providing "CIDHCPAddrMgrFactory". Pool kind 0 means address pools, 1
// prefix pools.

#include <cstdint>
#include <memory>
#include <vector>

#include "dhcp_server_common/CLeaseRights.h"
#include "standard/CIPAddress.h"

class CIDHCPContext;
class CIDHCPStats;
// Failover administration belongs to the failover service; only its name
// passes through here.
class CIDHCPFailoverAdmin;

class CIDHCPAddrMgr {
 public:
  enum PoolKind : int { addressPools = 0, prefixPools = 1 };

  virtual ~CIDHCPAddrMgr() = default;

  // A free address (prefix) out of the candidate pools, in their order, and
  // the pool it came from; raises when none is free.
  virtual void getPoolCandidate(int poolKind, const std::vector<long>& poolOIDs,
                                nuv::CIPAddress& address, long& poolOID, CIDHCPStats& stats) = 0;
  // Takes back a candidate that was not kept.
  virtual void releasePoolCandidate(int poolKind, const nuv::CIPAddress& address, long poolOID,
                                    CIDHCPStats& stats) = 0;
  virtual void confirmTransient(int poolKind, const nuv::CIPAddress& address, long poolOID) = 0;
  // The lease time the pool allows for the address, given the requested one.
  virtual std::uint32_t allowedLeaseTime(int poolKind, long poolOID, const nuv::CIPAddress& address,
                                         std::uint32_t requested) = 0;
  virtual CLeaseRights rights(int poolKind, long poolOID) = 0;
  virtual void emergencyTIDReclaim(int poolKind, long poolOID) = 0;
  virtual CIDHCPFailoverAdmin& failoverAdmin() = 0;
  virtual void refreshConfig() = 0;
  virtual void reclaimAddressesIf() = 0;
  virtual void notifyNormalState() = 0;
  virtual void deregister() = 0;
};

class CIDHCPAddrMgrFactory {
 public:
  virtual ~CIDHCPAddrMgrFactory() = default;
  virtual std::shared_ptr<CIDHCPAddrMgr> createAddrMgr(CIDHCPContext& context) = 0;
};
