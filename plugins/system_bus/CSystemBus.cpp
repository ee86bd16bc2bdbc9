#include "plugins/system_bus/CSystemBus.h"

#include <algorithm>
#include <cerrno>
#include <nlohmann/json.hpp>

#include "standard/CException.h"

void CSystemBus::configure(const std::string& auditFile, std::size_t maxHistory) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_maxHistory = maxHistory;
  while (m_history.size() > m_maxHistory) m_history.pop_front();
  if (auditFile == m_auditPath) return;
  std::ofstream audit;
  if (!auditFile.empty()) {
    audit.open(auditFile, std::ios::app);
    if (!audit)
      NUV_THROW_ERRNO("CSystemBus::configure",
                      nuv::CMessage("Cannot open event file '%1'.").pushs(auditFile), errno);
  }
  m_audit = std::move(audit);
  m_auditPath = auditFile;
}

bool CSystemBus::isLeaseEvent(const CAppEvent& event) {
  return event.evtClass == "address_lease" || event.evtClass == "network_lease";
}

std::int64_t CSystemBus::publish(std::shared_ptr<CAppEvent> event, int /*flags*/) {
  std::vector<std::shared_ptr<Subscription>> targets;
  std::vector<std::shared_ptr<Subscription>> merged;
  std::int64_t sequence;
  const std::shared_ptr<const CAppEvent> shared = event;
  {
    // The subscribers are alive while the lock is held: unsubscribe waits.
    std::lock_guard<std::mutex> lock(m_mutex);
    sequence = event->sequence = ++m_sequence;
    if (m_maxHistory > 0) {
      if (m_history.size() == m_maxHistory) m_history.pop_front();
      m_history.push_back(shared);
    }
    if (m_audit.is_open() && isLeaseEvent(*event)) {
      nlohmann::json line = nlohmann::json::object();
      for (const auto& [key, value] : event->sm()) line[key] = value;
      m_audit << line.dump() << '\n';
      m_audit.flush();
    }
    for (const auto& s : m_subscriptions) {
      if (!s->classes.empty() && !s->classes.count(shared->evtClass)) continue;
      const std::string key = s->executor ? s->subscriber->mergeKey(*shared) : std::string();
      if (key.empty())
        targets.push_back(s);
      else if (_wait(*s, key, shared))
        merged.push_back(s);
    }
  }
  for (const auto& s : merged) s->executor([s] { _deliverWaiting(*s); });
  for (const auto& s : targets) {
    auto deliver = [s, shared] {
      if (s->active.load()) s->subscriber->event(shared);
    };
    if (s->executor)
      s->executor(std::move(deliver));
    else
      deliver();
  }
  return sequence;
}

bool CSystemBus::_wait(Subscription& s, const std::string& key,
                       const std::shared_ptr<const CAppEvent>& event) {
  std::lock_guard<std::mutex> lock(s.waitingMutex);
  auto it = std::find_if(s.waiting.begin(), s.waiting.end(),
                         [&](const auto& w) { return w.first == key; });
  if (it == s.waiting.end())
    s.waiting.emplace_back(key, event);
  else
    it->second = s.subscriber->merge(it->second, event);
  if (s.queued) return false;
  s.queued = true;
  return true;
}

void CSystemBus::_deliverWaiting(Subscription& s) {
  std::vector<std::pair<std::string, std::shared_ptr<const CAppEvent>>> batch;
  {
    // Events arriving from here on queue a delivery of their own.
    std::lock_guard<std::mutex> lock(s.waitingMutex);
    batch.swap(s.waiting);
    s.queued = false;
  }
  for (const auto& [key, event] : batch)
    if (s.active.load()) s.subscriber->event(event);
}

void CSystemBus::subscribe(CIEventSubscriber* subscriber, std::vector<std::string> classes,
                           CEventExecutor executor) {
  auto s = std::make_shared<Subscription>();
  s->subscriber = subscriber;
  s->classes.insert(classes.begin(), classes.end());
  s->executor = std::move(executor);
  std::lock_guard<std::mutex> lock(m_mutex);
  m_subscriptions.push_back(std::move(s));
}

void CSystemBus::unsubscribe(CIEventSubscriber* subscriber) {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto it = std::remove_if(m_subscriptions.begin(), m_subscriptions.end(),
                           [&](const std::shared_ptr<Subscription>& s) {
                             if (s->subscriber != subscriber) return false;
                             s->active = false;
                             return true;
                           });
  m_subscriptions.erase(it, m_subscriptions.end());
}

std::vector<std::shared_ptr<const CAppEvent>> CSystemBus::history() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return {m_history.begin(), m_history.end()};
}
