#pragma once
// What the address managers of every worker thread share: each pool's
// cursor (where its last search ended, so that the next one goes on from
// there instead of walking the same used addresses again), and the
// candidates handed out and not taken back (reservations), so that two
// threads never offer the same one while neither offer has committed.
//
// Once an offer has committed, its row keeps the address used; a
// reservation only has to outlive the transaction that writes the offer.
// So a reservation expires after a hold comfortably longer than any
// transaction: an offer removed by someone who never releases it (another
// server on the same database, a crash) does not keep its address
// reserved forever. release() ends a reservation at once.
//
// Every call holds the lock briefly; no database work happens under it.

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

#include "standard/CIPAddress.h"

class CPoolCandidates {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::seconds kHold{60};

  explicit CPoolCandidates(Clock::duration hold = kHold,
                           std::function<Clock::time_point()> now = &Clock::now);

  // Reserves the address for the hold; false when it is reserved already.
  bool reserve(int poolKind, const nuv::CIPAddress& address);
  bool reserved(int poolKind, const nuv::CIPAddress& address) const;
  void release(int poolKind, const nuv::CIPAddress& address);
  // Reservations whose hold is not over.
  std::size_t count();

  // Where the pool's last search ended; unset before its first one.
  nuv::CIPAddress cursor(int poolKind, long poolOID) const;
  void cursor(int poolKind, long poolOID, const nuv::CIPAddress& at);

 private:
  using Key = std::pair<int, nuv::CIPAddress>;
  bool _held(const Key& key, Clock::time_point now) const;
  void _purge(Clock::time_point now);

  const Clock::duration m_hold;
  const std::function<Clock::time_point()> m_now;
  mutable std::mutex m_mutex;
  std::map<Key, Clock::time_point> m_reserved;  // the end of each hold
  // Holds in the order they end (every hold is as long): the expired ones
  // are dropped from the front, at no cost per reservation.
  std::deque<std::pair<Clock::time_point, Key>> m_ends;
  std::map<std::pair<int, long>, nuv::CIPAddress> m_cursors;
};
