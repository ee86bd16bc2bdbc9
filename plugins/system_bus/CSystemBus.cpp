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
  std::int64_t sequence;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    sequence = event->sequence = ++m_sequence;
    if (m_maxHistory > 0) {
      if (m_history.size() == m_maxHistory) m_history.pop_front();
      m_history.push_back(event);
    }
    if (m_audit.is_open() && isLeaseEvent(*event)) {
      nlohmann::json line = nlohmann::json::object();
      for (const auto& [key, value] : event->sm()) line[key] = value;
      m_audit << line.dump() << '\n';
      m_audit.flush();
    }
    for (const auto& s : m_subscriptions)
      if (s->classes.empty() || s->classes.count(event->evtClass)) targets.push_back(s);
  }
  std::shared_ptr<const CAppEvent> shared = std::move(event);
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
