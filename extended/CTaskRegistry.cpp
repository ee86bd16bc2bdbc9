#include "extended/CTaskRegistry.h"

#include <algorithm>

void CTaskRegistry::registerTask(const std::string& name, std::thread::id thread) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_tasks.push_back({name, thread});
}

void CTaskRegistry::deregisterTask(std::thread::id thread) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_tasks.erase(std::remove_if(m_tasks.begin(), m_tasks.end(),
                               [&](const Entry& e) { return e.thread == thread; }),
                m_tasks.end());
}

std::vector<CTaskRegistry::Entry> CTaskRegistry::tasks() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_tasks;
}

std::size_t CTaskRegistry::size() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_tasks.size();
}
