#pragma once
// What the processors that lease share (Solicit, Request, Renew, Rebind):
// the options of the pools the reply leases from and of the client's
// policies, the codes already placed inside IAs, the client's token as
// pools and leases are looked up with, the lifetimes a lease is given and
// the options a client asks for inside an IA or one of its addresses.

#include <cstdint>
#include <string>
#include <vector>

#include "dhcp6_server/CDHCP6LeaseKind.h"
#include "dhcp6_server/CDHCP6MsgProcessor.h"
#include "dhcp_server_common/CBindingFilter.h"
#include "dhcp_server_common/CCmdDeferredLeaseEvent.h"

class CDHCP6LeaseProcessor : public CDHCP6MsgProcessor {
 protected:
  // name: the processor's ("solicit"), which also names its option sets
  // ("solicit-pools-options", "solicit-policy-options").
  CDHCP6LeaseProcessor(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link, const char* name,
                       unsigned int transactionId);

  // _begin, then the client's token is kept for the lookups and the name
  // it supplied for the lease events.
  bool _beginLeasing(unsigned short& port, CDHCP6MsgType replyType, nuv::CHexStore& duid,
                     std::vector<CBinding6Tuple>& ids, const char* otherServerLine = nullptr);

  struct Lifetimes {
    std::uint32_t preferred;
    std::uint32_t valid;
    std::uint32_t length;  // of a prefix; 128 for an address
  };
  // What an existing lease is given: its pool's lifetimes (half the valid
  // one when the pool prefers 0) and delegated length, or, with its pool
  // gone, half and all of its own duration and its own length.
  template <class Kind, class Result>
  static Lifetimes _leaseLifetimes(const Result& result) {
    const auto& pool = result.second;
    if (!pool) {
      const std::uint32_t valid = result.first->leaseDuration();
      return {valid / 2, valid, Kind::length(*result.first)};
    }
    const std::uint32_t valid = pool->validLifetime();
    return {pool->prefLifetime() != 0 ? pool->prefLifetime() : valid / 2, valid,
            pool->subPrefixLen()};
  }
  // A pool's options join the reply's pools set; a later pool's option
  // replaces an earlier one's.
  void _mergePoolOptions(const CPrstPool& pool);
  // The options the client asked for inside its IA (or inside its IA
  // Address / IA Prefix for address), from the policies, else from
  // fallback, into the reply option target.
  void _addIARequestedOptions(const CBinding6Identifier& id, const nuv::CIPAddress* address,
                              const COptionPtr& fallback, const COptionPtr& target);
  // The reply's IA option for the identity association, counted.
  COptionPtr _createIA(const CBinding6Identifier& id);
  // The reply's IA, made on first use.
  void _createMinimalIAIf(const CBinding6Identifier& id, COptionPtr& ia) {
    if (!ia) ia = _createIA(id);
  }

  // An existing lease given valid seconds more from now (and the client's
  // account), announced as eventType after commit.
  template <class Binding>
  void _extendLease(const CBinding6Identifier& id, Binding& binding, std::uint32_t valid,
                    const char* eventType, const char* eventClass) {
    if (binding.accountOID() != _account().id()) binding.accountOID(_account().id());
    binding.leaseDuration(valid);
    binding.leaseCommitTime(nuv::CTimeT::now());
    binding.fastPartialCommit();
    _queueLeaseEvent(id, binding, eventType, eventClass);
  }
  // Announces the lease once the transaction has committed.
  template <class Binding>
  void _queueLeaseEvent(const CBinding6Identifier& id, const Binding& binding,
                        const char* eventType, const char* eventClass) {
    CDHCP6TLS& tls = *_tls();
    tls.syncCommands().append(std::make_unique<CCmdDeferredLeaseEvent>(
        tls.context(), CSyncCommand::onCommit, binding.ipAddr(), id, eventType, eventClass,
        m_hostname, binding.poolOID(), binding.identity()));
  }
  // The leases of the list that may be extended on the message's link.
  template <class Kind, class List, class Result>
  void _filterExtensible(const List& bindings, std::vector<Result>& out) {
    CBindingFilter<typename Kind::Pool, typename Kind::Binding>(
        _pktID(), Kind::poolFinder(*_tls()), *_tls()->context().dhcpMediator().addrMgr(),
        _tls()->controller())
        .allExtensible(bindings, m_token, _relay(), out);
  }
  // Step 12 of every leasing reply: requested options, pools, policies.
  void _addTopLevelOptions() {
    CDHCP6MsgProcessor::_addTopLevelOptions(m_poolOptions, m_policyOptions, m_placed);
  }

  // The live offer of the kind (Solicit's pending lookup) and its deletion.
  template <class Kind>
  CPrstUserClassPtr<typename Kind::Pending> _findPendingOf(const CBinding6Identifier& id) {
    if constexpr (Kind::kPoolKind == CIDHCPAddrMgr::addressPools)
      return _findAPending(id, _relay());
    else
      return _findNPending(id, _relay());
  }
  template <class Kind>
  void _deletePendingOf(const CPrstUserClassPtr<typename Kind::Pending>& pending) {
    if constexpr (Kind::kPoolKind == CIDHCPAddrMgr::addressPools)
      _deleteAPending(pending);
    else
      _deleteNPending(pending);
  }

  const Token& _token() const { return m_token; }
  const COptionStorePtr& _poolOptions() const { return m_poolOptions; }

  std::vector<std::uint32_t> m_placed;
  COptionStorePtr m_poolOptions;
  COptionStorePtr m_policyOptions;
  unsigned m_iaCount = 0;  // IA options written into the reply
  std::string m_hostname;  // the name the client supplied

 private:
  Token m_token;
};

// A pool's own options as the reply helpers take them; only read.
COptionPtr optionsOf(const CPrstPool& pool);
