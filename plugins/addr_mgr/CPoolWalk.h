#pragma once
// One search of one pool for a free candidate (an address, or the first
// address of a delegated prefix): from the pool's shared cursor to the end
// of its range, then once from the range start up to the cursor. Free
// means not used (leased or offered, in any pool or none, as the
// database's address keys say), not excluded and not reserved. The used
// ones are read a page at a time from where the walk stands, so the cost
// of a search depends on the used candidates it passes, not on how many
// the pool holds; an exclusion range is passed in one jump. The candidate
// found is reserved and becomes the pool's cursor.
//
// The cursor starts, once per pool and process, after the highest
// candidate in use, so a restarted server goes on where it left off.

#include <cstddef>

#include "dhcp_database/CPrstBindingUsedAddrs.h"
#include "dhcp_database/CPrstPool.h"
#include "oodb/CIPrstSession.h"
#include "plugins/addr_mgr/CPoolCandidates.h"
#include "standard/CIPAddress.h"

class CPoolWalk {
 public:
  // Rows of the first page of used candidates, and at most of any later one.
  static constexpr std::size_t kFirstPage = 16;
  static constexpr std::size_t kLastPage = 4096;

  CPoolWalk(CIPrstSession& session, CPoolCandidates& candidates, int poolKind, long poolOID,
            const CPrstPool& pool);

  // A free candidate, now reserved; unset when the pool has none.
  nuv::CIPAddress next();

 private:
  // The first free candidate of [from, to] (both candidates), reserved.
  nuv::CIPAddress _scan(nuv::CIPAddress from, const nuv::CIPAddress& to);
  // The candidate whose addresses hold a (the prefix it lies in).
  nuv::CIPAddress _floor(const nuv::CIPAddress& a) const;
  // The last address of a candidate (itself for an address).
  nuv::CIPAddress _last(const nuv::CIPAddress& candidate) const;
  // Moves to the next candidate; false past to (or past the address space).
  bool _advance(nuv::CIPAddress& candidate, const nuv::CIPAddress& to) const;
  // The exclusion range holding the candidate, or null.
  const CPrstDHCPIPAddressRange* _exclusion(const nuv::CIPAddress& candidate) const;

  CIPrstSession& m_session;
  CPoolCandidates& m_candidates;
  const int m_kind;
  const long m_poolOID;
  const CPrstPool& m_pool;
  const CPrstBindingUsedAddrs::Kind m_usedKind;
  nuv::CIPAddress m_start, m_stop, m_step;
  unsigned m_shift = 0;  // bits of a candidate's own addresses
};
