#pragma once
// A lease's state as "dhcp6ctl list bindings" shows it:
//   fixed     an operator's reservation (whatever its expiry)
//   released  the client gave it back (lease duration 0)
//   expired   its expiry has passed; the reclaimer removes it
//   active    otherwise
// and the seconds it has left (0 once expired, "infinite" for an infinite
// lease).

#include <cstdint>
#include <string>

#include "standard/CTimeT.h"

class CPrstBinding;

class CLeaseState {
 public:
  enum class State { active, released, expired, fixed };

  CLeaseState(const CPrstBinding& binding, nuv::CTimeT now);

  State state() const { return m_state; }
  const char* name() const;
  // Seconds left, never below 0.
  std::int64_t remaining() const { return m_remaining; }
  bool infinite() const { return m_infinite; }
  // "3600", "0" or "infinite".
  std::string remainingText() const;

 private:
  State m_state = State::active;
  std::int64_t m_remaining = 0;
  bool m_infinite = false;
};
