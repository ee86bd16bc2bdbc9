#include "plugins/ddns/CDDNSQueue.h"

CDDNSQueue::Pushed CDDNSQueue::push(CDDNSJob job) {
  Pushed result;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed) {
      result.taken = false;
      return result;
    }
    if (m_jobs.size() >= m_capacity) {
      result.dropped = std::move(m_jobs.front());
      m_jobs.pop_front();
    }
    m_jobs.push_back(std::move(job));
  }
  m_ready.notify_one();
  return result;
}

std::optional<CDDNSJob> CDDNSQueue::pop() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_ready.wait(lock, [this] { return m_closed || !m_jobs.empty(); });
  return _take();
}

void CDDNSQueue::close() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
  }
  m_ready.notify_all();
}

std::size_t CDDNSQueue::size() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_jobs.size();
}

std::optional<CDDNSJob> CDDNSQueue::_take() {
  if (m_jobs.empty()) return std::nullopt;
  CDDNSJob job = std::move(m_jobs.front());
  m_jobs.pop_front();
  return job;
}
