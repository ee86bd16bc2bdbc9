#pragma once
// A handler thread's way to its pools of one kind: the pools of a client's
// link as the client's token may see them, and single pools by identity
// (the pool a lease or pending names), optionally through a bounded cache.
// Every query runs in the thread's current transaction. Instantiated for
// CPrstAddressPool6 and CPrstNetworkPool6.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "dhcp_server_common/CNodeContext.h"
#include "extended/CDHCPConfigNames.h"
#include "extended/CIDHCPController.h"
#include "extended/CProtocolFamily.h"
#include "oodb/CDeviceAccessToken.h"
#include "oodb/CPrstUserClassPtr.h"
#include "standard/CIPAddress.h"
#include "standard/CMessage.h"

template <class Pool>
class CPoolFinder {
 public:
  using Ptr = CPrstUserClassPtr<Pool>;
  using List = CPrstUserClassPtrList<Pool>;
  // Pools found keep the token they were found with: it is shared.
  using Token = std::shared_ptr<const CAccessToken>;
  static constexpr std::size_t kPage = 1000;

  CPoolFinder(CIDHCPController* controller, CIPrstSession& session, CProtocolFamily family = 6)
      : m_controller(controller), m_session(session), m_family(family) {}

  // Re-reads the cache limit ("engine.pool_cache_size", default 0: no cache).
  void refreshConfig() {
    const std::string key = CDHCPConfigNames::enginePoolCacheSize(m_family);
    m_cacheLimit = static_cast<std::size_t>(m_controller->config()->get_uint64(key, 0));
  }
  std::size_t cacheLimit() const { return m_cacheLimit; }
  std::size_t cacheCount() const { return m_cache.size(); }

  // The pools of the link (or, with a request prefix, those covering it)
  // the client's token may see, unfiltered, in the order of the query.
  List findPools(const std::string& pktID, const CNodeContext& node, const nuv::CIPAddress& link,
                 const nuv::CIPAddress& requestPrefix = nuv::CIPAddress()) {
    const auto token = std::make_shared<CDeviceAccessToken>(node.token());
    List pools;
    if (requestPrefix.isValid()) {
      _debug(nuv::CMessage("%1 Searching for pools by request prefix %2.")
                 .pushs(pktID)
                 .pusho(requestPrefix));
      pools = Pool::selectByPrefix(m_session, token, requestPrefix, kPage);
    } else {
      _debug(nuv::CMessage("%1 Searching for pools by link (relay) address %2.")
                 .pushs(pktID)
                 .pusho(link));
      pools = Pool::selectByRelay(m_session, token, link, kPage);
    }
    // A full page may have a successor, which may be empty.
    for (List page = pools; page.size() >= kPage;) {
      page = page.selectNext(kPage);
      pools.insert(pools.end(), page.begin(), page.end());
    }
    return pools;
  }

  // The pool with this identity as the token may see it; an identity of 0
  // or less finds nothing without a query.
  Ptr findPool(const std::string& pktID, std::int32_t oid, const Token& token) {
    if (oid <= 0) return Ptr();
    return m_cacheLimit == 0 ? _findPool(pktID, oid, token) : _findCachedPool(pktID, oid, token);
  }

  // Reloads one pool into the cache (dropping it when it is gone), or with
  // a negative identity the whole cache; the reloaded pool.
  Ptr refresh(std::int32_t oid) {
    if (oid < 0) {
      _reloadAll();
      return Ptr();
    }
    m_cache.erase(oid);
    Ptr pool = m_session.findPK<Pool>(oid);
    if (pool && m_cache.size() < m_cacheLimit) m_cache.emplace(oid, pool);
    return pool;
  }

  Ptr _findPool(const std::string& pktID, std::int32_t oid, const Token& token) {
    const List found = Pool::selectByOID(m_session, token, oid);
    if (found.empty()) return Ptr();
    if (found.size() > 1)
      m_controller->log().log(nuv::sev_warning,
                              nuv::CMessage("%1 The database contains %2 entries for a pool "
                                            "named '%3'.")
                                  .pushs(pktID)
                                  .push(found.size())
                                  .pushs(found.front()->name()));
    return found.front();
  }

  Ptr _findCachedPool(const std::string&, std::int32_t oid, const Token& token) {
    auto it = m_cache.find(oid);
    Ptr pool = it != m_cache.end() ? it->second : refresh(oid);
    if (!pool) return Ptr();
    // The cache holds every pool; the caller sees only its own domains'.
    for (const CDomainID& domain : pool->domainMemberships().domains())
      if (token->hasDomain(domain) && domain.domainType() != 1) return pool;
    return Ptr();
  }

 private:
  void _reloadAll() {
    m_cache.clear();
    for (List page = m_session.select<Pool>("generic.all", nuv::CStringMap(),
                                            CPrstSelectOptions().withRows(kPage));
         ;) {
      for (const Ptr& pool : page) {
        if (m_cache.size() >= m_cacheLimit) return;
        m_cache.emplace(pool.pk(), pool);
      }
      if (page.exhausted()) return;
      page = page.selectNext(kPage);
    }
  }
  void _debug(const nuv::CMessage& message) {
    if (m_controller->log().debugEnabled()) m_controller->log().log(nuv::sev_debug, message);
  }

  CIDHCPController* m_controller;  // not owned
  CIPrstSession& m_session;
  CProtocolFamily m_family;
  std::size_t m_cacheLimit = 0;
  std::map<std::int32_t, Ptr> m_cache;
};
