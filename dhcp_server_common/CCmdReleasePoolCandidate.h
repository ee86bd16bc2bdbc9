#pragma once
// Hands an address or prefix that is no longer offered back to the
// address manager. Queued on the thread's side commands so that it runs
// only once the transaction that deleted the offer has committed (type 2):
// an address is never free again while its offer could still come back.

#include <memory>

#include "dhcp_server_common/CIDHCPAddrMgr.h"
#include "dhcp_server_common/CIDHCPContext.h"
#include "dhcp_server_common/CIDHCPMediator.h"
#include "extended/CIDHCPStats.h"
#include "extended/CSyncCommand.h"
#include "standard/CIPAddress.h"

class CCmdReleasePoolCandidate : public CSyncCommand {
 public:
  CCmdReleasePoolCandidate(int poolKind, CIDHCPContext& context, const nuv::CIPAddress& address,
                           long poolOID, CIDHCPStats& stats, unsigned type = onCommit)
      : CSyncCommand(type),
        m_poolKind(poolKind),
        m_context(context),
        m_address(address),
        m_poolOID(poolOID),
        m_stats(stats) {}

  void execute() override {
    m_context.mediator().addrMgr()->releasePoolCandidate(m_poolKind, m_address, m_poolOID, m_stats);
  }

 private:
  int m_poolKind;
  CIDHCPContext& m_context;
  nuv::CIPAddress m_address;
  long m_poolOID;
  CIDHCPStats& m_stats;  // the thread's; outlives the command
};

// The command of one pool kind: CCmdReleaseAPoolCandidate for an address
// of an address pool, CCmdReleaseNPoolCandidate for a prefix of a prefix
// pool.
template <int PoolKind>
class CCmdReleaseKindCandidate : public CCmdReleasePoolCandidate {
 public:
  CCmdReleaseKindCandidate(CIDHCPContext& context, const nuv::CIPAddress& address, long poolOID,
                           CIDHCPStats& stats, unsigned type = onCommit)
      : CCmdReleasePoolCandidate(PoolKind, context, address, poolOID, stats, type) {}
};
using CCmdReleaseAPoolCandidate = CCmdReleaseKindCandidate<CIDHCPAddrMgr::addressPools>;
using CCmdReleaseNPoolCandidate = CCmdReleaseKindCandidate<CIDHCPAddrMgr::prefixPools>;
