#include "tools/CLeaseState.h"

#include <algorithm>

#include "dhcp_database/CPrstBinding.h"

CLeaseState::CLeaseState(const CPrstBinding& binding, nuv::CTimeT now) {
  m_infinite = binding.leaseDuration() == CPrstBinding::kInfinite;
  const std::int64_t left = static_cast<std::int64_t>(binding.leaseExpireTime().get()) -
                            static_cast<std::int64_t>(now.get());
  m_remaining = std::max<std::int64_t>(0, left);
  if (binding.isFixed())
    m_state = State::fixed;
  else if (binding.leaseDuration() == 0)
    m_state = State::released;
  else if (!m_infinite && left <= 0)
    m_state = State::expired;
  else
    m_state = State::active;
}

const char* CLeaseState::name() const {
  switch (m_state) {
    case State::fixed:
      return "fixed";
    case State::released:
      return "released";
    case State::expired:
      return "expired";
    case State::active:
      break;
  }
  return "active";
}

std::string CLeaseState::remainingText() const {
  return m_infinite ? "infinite" : std::to_string(m_remaining);
}
