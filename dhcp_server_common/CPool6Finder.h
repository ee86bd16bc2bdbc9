#pragma once
// One message's search for the pools its client may draw from: the pools
// of its link, less those disabled or closed to it, and for a client on
// the server's own link (no relay) only the pools of the network the
// message arrived on, unless the server is told otherwise.

#include <algorithm>
#include <string>

#include "dhcp_server_common/CPoolFilter.h"
#include "dhcp_server_common/CPoolFinder.h"

template <class Pool>
class CPool6Finder {
 public:
  using List = typename CPoolFinder<Pool>::List;

  // pktID: the message's log prefix.
  CPool6Finder(CIDHCPController* controller, std::string pktID)
      : m_controller(controller), m_pktID(std::move(pktID)) {}

  List findSuitablePools(CPoolFinder<Pool>& finder, const CNodeContext& node,
                         const nuv::CIPAddress& link, bool matchLocalSegmentPools) {
    List pools = finder.findPools(m_pktID, node, link);
    CPoolFilter<Pool>(m_controller).removeUnusable(pools);
    if (!matchLocalSegmentPools || !_unspecified(link)) return pools;
    pools.erase(std::remove_if(pools.begin(), pools.end(),
                               [&](const CPrstUserClassPtr<Pool>& pool) {
                                 if (_onLocalSegment(node, *pool)) return false;
                                 _debug(nuv::CMessage("%1 Discarding local segment pool %2; pool "
                                                      "network does not match any locally "
                                                      "attached network.")
                                            .pushs(m_pktID)
                                            .pushs(pool->name()));
                                 return true;
                               }),
                pools.end());
    return pools;
  }

 private:
  // Whether one of the receiving interface's addresses (the local address
  // when they are unknown) lies in the pool's network.
  static bool _onLocalSegment(const CNodeContext& node, const Pool& pool) {
    const auto inPool = [&pool](const nuv::CIPAddress& a) {
      return a.isValid() && a.createPrefix(pool.prefixLen()) == pool.prefix();
    };
    const CNodeContext::Addresses& local = node.localAddresses();
    if (local.empty()) return inPool(node.localAddress());
    return std::any_of(local.begin(), local.end(), inPool);
  }
  static bool _unspecified(const nuv::CIPAddress& link) {
    return !link.isValid() || link == nuv::CIPAddress(link.type());
  }
  void _debug(const nuv::CMessage& message) const {
    if (m_controller->log().debugEnabled()) m_controller->log().log(nuv::sev_debug, message);
  }

  CIDHCPController* m_controller;  // not owned
  std::string m_pktID;
};
