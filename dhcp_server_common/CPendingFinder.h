#pragma once
// A handler thread's way to its pending offers of one kind: the offer an
// identity association holds on a link, the offers old enough to collect,
// and new (transient) offers. Instantiated for CPrstAddressPending6 and
// CPrstNetworkPending6.

#include <cstdint>

#include "dhcp_database/CBinding6Identifier.h"
#include "oodb/CPrstUserClassPtr.h"
#include "standard/CIPAddress.h"

template <class Pending>
class CPendingFinder {
 public:
  using Ptr = CPrstUserClassPtr<Pending>;
  using List = CPrstUserClassPtrList<Pending>;
  // An offer this many seconds old is stale: found no more, and collected.
  static constexpr std::uint32_t kStaleAge = 10;

  explicit CPendingFinder(CIPrstSession& session) : m_session(session) {}

  // A new offer in the thread's session, not stored yet.
  Ptr createPending() { return m_session.createTransient<Pending>(); }
  // The offer of the identity association on the link, or empty.
  Ptr findPending(const CBinding6Identifier& key, const nuv::CIPAddress& link) {
    const List found = Pending::selectByKeyAndRelay(m_session, key, link, 1);
    return found.empty() ? Ptr() : found.front();
  }
  // Offers at least minAge seconds old, oldest first, at most rows of them.
  List findPending(std::uint32_t minAge, std::size_t rows) {
    return Pending::selectMinAge(m_session, minAge, rows);
  }

 private:
  CIPrstSession& m_session;
};
