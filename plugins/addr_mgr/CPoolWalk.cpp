#include "plugins/addr_mgr/CPoolWalk.h"

#include <algorithm>

CPoolWalk::CPoolWalk(CIPrstSession& session, CPoolCandidates& candidates, int poolKind,
                     long poolOID, const CPrstPool& pool)
    : m_session(session),
      m_candidates(candidates),
      m_kind(poolKind),
      m_poolOID(poolOID),
      m_pool(pool),
      m_usedKind(pool.type() == CPrstPool::networkPool ? CPrstBindingUsedAddrs::prefixes
                                                       : CPrstBindingUsedAddrs::addresses),
      m_start(pool.range().start()),
      m_stop(pool.range().stop()) {
  if (!m_start.isValid() || m_stop.type() != m_start.type() || m_stop < m_start) return;
  const std::size_t width = m_start.bitWidth();
  if (pool.subPrefixLen() == 0 || pool.subPrefixLen() > width) return;
  m_shift = static_cast<unsigned>(width - pool.subPrefixLen());
  m_step = nuv::CIPAddress(m_start.type());
  m_step += 1;
  m_step.shiftLeft(m_shift);
  // Whole candidates only.
  if (_floor(m_start) != m_start) m_start = _floor(m_start) + m_step;
  m_stop = _floor(m_stop);
}

nuv::CIPAddress CPoolWalk::next() {
  // No candidate, or a range that holds none.
  if (!m_step.isValid() || m_stop < m_start) return {};
  nuv::CIPAddress last = m_candidates.cursor(m_kind, m_poolOID);
  if (!m_pool.range().contains(last)) {
    last = CPrstBindingUsedAddrs::highest(m_session, m_usedKind, m_start, _last(m_stop));
    if (last.isValid()) last = _floor(last);
  }
  nuv::CIPAddress first = m_start;
  if (last.isValid() && last >= m_start && _advance(last, m_stop)) first = last;
  nuv::CIPAddress found = _scan(first, m_stop);
  if (!found.isValid() && m_start < first) found = _scan(m_start, first - m_step);
  if (found.isValid()) m_candidates.cursor(m_kind, m_poolOID, found);
  return found;
}

nuv::CIPAddress CPoolWalk::_scan(nuv::CIPAddress candidate, const nuv::CIPAddress& to) {
  std::size_t rows = kFirstPage;
  for (;;) {
    const auto used =
        CPrstBindingUsedAddrs::inRange(m_session, m_usedKind, candidate, _last(to), rows);
    const bool lastPage = used.size() < rows;
    auto u = used.begin();
    for (;;) {
      while (u != used.end() && *u < candidate) ++u;
      if (u == used.end() && !lastPage) break;  // the next page starts here
      if (u != used.end() && *u - candidate < m_step) {
        // Used (for a prefix: anything inside it is).
      } else if (const auto* x = _exclusion(candidate)) {
        const nuv::CIPAddress end = _floor(x->stop());
        if (end >= to) return {};
        candidate = end;
      } else if (m_candidates.reserve(m_kind, candidate)) {
        return candidate;
      }
      if (!_advance(candidate, to)) return {};
    }
    rows = std::min(rows * 4, kLastPage);
  }
}

nuv::CIPAddress CPoolWalk::_floor(const nuv::CIPAddress& a) const {
  return a.createPrefix(static_cast<unsigned>(a.bitWidth()) - m_shift);
}

nuv::CIPAddress CPoolWalk::_last(const nuv::CIPAddress& candidate) const {
  return candidate | (m_step - 1);
}

bool CPoolWalk::_advance(nuv::CIPAddress& candidate, const nuv::CIPAddress& to) const {
  if (candidate >= to) return false;
  const nuv::CIPAddress next = candidate + m_step;
  if (next <= candidate) return false;  // the end of the address space
  candidate = next;
  return true;
}

const CPrstDHCPIPAddressRange* CPoolWalk::_exclusion(const nuv::CIPAddress& candidate) const {
  for (const auto& x : m_pool.xrange())
    if (x && x->contains(candidate)) return x.get();
  return nullptr;
}
