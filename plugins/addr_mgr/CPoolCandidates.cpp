#include "plugins/addr_mgr/CPoolCandidates.h"

CPoolCandidates::CPoolCandidates(Clock::duration hold, std::function<Clock::time_point()> now)
    : m_hold(hold), m_now(std::move(now)) {}

bool CPoolCandidates::reserve(int poolKind, const nuv::CIPAddress& address) {
  const Clock::time_point now = m_now();
  const Key key{poolKind, address};
  std::lock_guard<std::mutex> lock(m_mutex);
  _purge(now);
  auto [it, added] = m_reserved.emplace(key, now + m_hold);
  if (!added) {
    if (_held(key, now)) return false;
    it->second = now + m_hold;
  }
  m_ends.emplace_back(it->second, key);
  return true;
}

bool CPoolCandidates::reserved(int poolKind, const nuv::CIPAddress& address) const {
  const Clock::time_point now = m_now();
  std::lock_guard<std::mutex> lock(m_mutex);
  return _held({poolKind, address}, now);
}

void CPoolCandidates::release(int poolKind, const nuv::CIPAddress& address) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_reserved.erase({poolKind, address});
}

std::size_t CPoolCandidates::count() {
  const Clock::time_point now = m_now();
  std::lock_guard<std::mutex> lock(m_mutex);
  _purge(now);
  return m_reserved.size();
}

nuv::CIPAddress CPoolCandidates::cursor(int poolKind, long poolOID) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto it = m_cursors.find({poolKind, poolOID});
  return it == m_cursors.end() ? nuv::CIPAddress() : it->second;
}

void CPoolCandidates::cursor(int poolKind, long poolOID, const nuv::CIPAddress& at) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_cursors[{poolKind, poolOID}] = at;
}

bool CPoolCandidates::_held(const Key& key, Clock::time_point now) const {
  const auto it = m_reserved.find(key);
  return it != m_reserved.end() && now < it->second;
}

void CPoolCandidates::_purge(Clock::time_point now) {
  while (!m_ends.empty() && m_ends.front().first <= now) {
    // Released, or reserved again since: that entry is not this hold's.
    const auto it = m_reserved.find(m_ends.front().second);
    if (it != m_reserved.end() && it->second == m_ends.front().first) m_reserved.erase(it);
    m_ends.pop_front();
  }
}
