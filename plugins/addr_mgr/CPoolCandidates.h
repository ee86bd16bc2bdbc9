#pragma once
// The candidates every worker thread's address manager has handed out and
// not taken back yet, shared by all of them: an address stays reserved from
// the moment it is offered until its offer is gone, even before the offer's
// transaction has committed, so two threads never offer the same address.
// Also where each pool's search resumes, so that consecutive requests do
// not probe the same used addresses again.

#include <map>
#include <mutex>
#include <set>
#include <utility>

#include "standard/CIPAddress.h"

class CPoolCandidates {
 public:
  // False when the address is reserved already.
  bool reserve(int poolKind, const nuv::CIPAddress& address) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reserved.insert({poolKind, address}).second;
  }
  bool reserved(int poolKind, const nuv::CIPAddress& address) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reserved.count({poolKind, address}) != 0;
  }
  void release(int poolKind, const nuv::CIPAddress& address) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_reserved.erase({poolKind, address});
  }
  std::size_t count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_reserved.size();
  }
  // Where the pool's next search starts (unset: at its range start).
  nuv::CIPAddress resume(int poolKind, long poolOID) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_resume.find({poolKind, poolOID});
    return it == m_resume.end() ? nuv::CIPAddress() : it->second;
  }
  void resume(int poolKind, long poolOID, const nuv::CIPAddress& next) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_resume[{poolKind, poolOID}] = next;
  }

 private:
  mutable std::mutex m_mutex;
  std::set<std::pair<int, nuv::CIPAddress>> m_reserved;
  std::map<std::pair<int, long>, nuv::CIPAddress> m_resume;
};
