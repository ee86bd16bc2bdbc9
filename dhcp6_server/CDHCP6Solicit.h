#pragma once
// Answers a Solicit with an Advertise. Each IA gets the leases its client
// already holds and may keep, or else one new address (prefix) that is
// held for the client as a pending offer for the next nine seconds, so
// that the Request can claim it. A Solicit never makes a lease; when no IA
// could be given anything the Advertise says NoAddrsAvail and nothing else.

#include <cstdint>
#include <vector>

#include "dhcp6_server/CDHCP6LeaseProcessor.h"
#include "dhcp_server_common/CPoolMap.h"

class CDHCP6Solicit : public CDHCP6LeaseProcessor {
 public:
  // Candidates taken by another server sharing the database are passed
  // over; after this many in a row the IA goes without an offer.
  static constexpr unsigned kMaxTakenCandidates = 8;

  CDHCP6Solicit(CDHCP6TLS* tls, CNodeContext& node, nuv::CIPAddress link,
                unsigned int transactionId);

  Code execute(unsigned short& port);

 protected:
  bool _processIANA(const CBinding6Identifier& id, Code& code) override;
  bool _processIAPD(const CBinding6Identifier& id, Code& code) override;

  // One existing lease written into the Advertise's IA; minimum is the
  // running minimum of the IA's preferred lifetimes.
  void _offerABinding(const CBinding6Identifier& id, const AExtensible& result,
                      const COptionPtr& ia, std::uint32_t& minimum);
  void _offerNBinding(const CBinding6Identifier& id, const NExtensible& result,
                      const COptionPtr& ia, std::uint32_t& minimum);
  // The IA's live offer, or a new one, written into the Advertise.
  void _pendAddress(const CBinding6Identifier& id);
  void _pendPrefix(const CBinding6Identifier& id);

 private:
  template <class Kind, class Result>
  void _processIA(const CBinding6Identifier& id);
  template <class Kind, class Result>
  void _offerBinding(const CBinding6Identifier& id, const Result& result, const COptionPtr& ia,
                     std::uint32_t& minimum);
  template <class Kind>
  void _pend(const CBinding6Identifier& id);
  // Asks the address manager until a candidate's offer is stored; false
  // when none could be (the failure is recorded).
  template <class Kind>
  bool _allocate(const CBinding6Identifier& id, const CPoolMap<typename Kind::Pool>& pools,
                 CPrstUserClassPtr<typename Kind::Pending>& pending);
  // A new offer stored in the transaction; empty when another offer holds
  // the address already.
  template <class Kind>
  CPrstUserClassPtr<typename Kind::Pending> _createPending(const CBinding6Identifier& id,
                                                           const nuv::CIPAddress& address,
                                                           const typename Kind::Pool& pool,
                                                           const char* context);
};
