#pragma once
// Which of a client's leases of one identity association may be extended
// where the client is now: the lease's pool must still exist (a fixed
// lease outside every pool needs none), serve the client's link, hold the
// address, let the address manager renew, and admit the client. Built for
// one message; instantiated for address and prefix pools and bindings.

#include <string>
#include <vector>

#include "dhcp_server_common/CBindingFilterResult.h"
#include "dhcp_server_common/CIDHCPAddrMgr.h"
#include "dhcp_server_common/CPoolFilter.h"
#include "dhcp_server_common/CPoolFinder.h"

template <class Pool, class Binding>
class CBindingFilter {
 public:
  using Result = CBindingFilterResult<Pool, Binding>;
  using List = CPrstUserClassPtrList<Binding>;

  // pktID: the message's log prefix; addrMgr: the context's address manager.
  CBindingFilter(std::string pktID, CPoolFinder<Pool>& finder, CIDHCPAddrMgr& addrMgr,
                 CIDHCPController* controller)
      : m_pktID(std::move(pktID)), m_finder(finder), m_addrMgr(addrMgr), m_controller(controller) {}

  // Appends, in the order of bindings, each extensible one with its pool.
  void allExtensible(const List& bindings, const typename CPoolFinder<Pool>::Token& token,
                     const nuv::CIPAddress& link, std::vector<Result>& out) {
    const bool relayed = link.isValid() && link != nuv::CIPAddress(link.type());
    const CPoolFilter<Pool> filter(m_controller);
    for (const CPrstUserClassPtr<Binding>& binding : bindings) {
      const CPrstUserClassPtr<Pool> pool = m_finder.findPool(m_pktID, binding->poolOID(), token);
      if (!pool) {
        if (binding->isFixed() && binding->poolOID() <= 0) out.push_back({binding, {}});
        continue;
      }
      if (relayed && !pool->containsRelay(link)) {
        _log(nuv::CMessage("Binding for client %1 with address %2 is not available. The lease was "
                           "issued for link %3, but the client is currently on link %4.")
                 .pushs(binding->createIdentifier()->string())
                 .pusho(binding->ipAddr())
                 .pusho(binding->ipRelay())
                 .pusho(link));
        continue;
      }
      if (!pool->range().contains(binding->ipAddr())) continue;
      if (!m_addrMgr.rights(pool->type(), pool->identity()).has(CLeaseRights::renew)) continue;
      if (!filter.isUsable(*pool)) continue;
      out.push_back({binding, pool});
    }
  }

 private:
  void _log(const nuv::CMessage& message) const { m_controller->log().log(nuv::sev_info, message); }

  std::string m_pktID;
  CPoolFinder<Pool>& m_finder;
  CIDHCPAddrMgr& m_addrMgr;
  CIDHCPController* m_controller;  // not owned
};
