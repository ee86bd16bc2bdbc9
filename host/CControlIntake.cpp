#include "host/CControlIntake.h"

#include <algorithm>

std::shared_ptr<CAppEvent> CControlIntake::admit(std::shared_ptr<CAppEvent> event,
                                                 std::int64_t now) {
  if (now != m_second) {
    m_second = now;
    m_published = 0;
  }
  // While changes wait, later ones wait behind them.
  if (m_waiting.empty() && m_published < m_perSecond) {
    ++m_published;
    return event;
  }
  _wait(std::move(event));
  return nullptr;
}

std::vector<std::shared_ptr<CAppEvent>> CControlIntake::due(std::int64_t now) {
  std::vector<std::shared_ptr<CAppEvent>> out;
  if (now == m_second || m_waiting.empty()) return out;
  m_second = now;
  m_published = static_cast<unsigned>(std::min<std::size_t>(m_waiting.size(), m_perSecond));
  for (auto& w : m_waiting) out.push_back(std::move(w.second));
  m_waiting.clear();
  return out;
}

void CControlIntake::_wait(std::shared_ptr<CAppEvent> event) {
  const std::string& table = event->evtClass;
  const auto find = [this](const std::string& key) {
    return std::find_if(m_waiting.begin(), m_waiting.end(),
                        [&](const auto& w) { return w.first == key; });
  };
  // A mode switch replaces the one waiting; a table already waiting as a
  // whole takes every change of it.
  const bool mode = table == CAppEvent::kClassMode;
  if (auto whole = find(table); whole != m_waiting.end()) {
    if (mode) whole->second = std::move(event);
    ++m_merged;
    return;
  }
  if (mode) {
    m_waiting.emplace_back(table, std::move(event));
    return;
  }
  const std::string key = table + " " + event->evtInstance;
  if (auto same = find(key); same != m_waiting.end()) {
    same->second = std::move(event);
    ++m_merged;
    return;
  }
  const auto ofTable = [&](const auto& w) { return w.second->evtClass == table; };
  const auto count =
      static_cast<std::size_t>(std::count_if(m_waiting.begin(), m_waiting.end(), ofTable));
  if (count < m_maxWaiting) {
    m_waiting.emplace_back(key, std::move(event));
    return;
  }
  m_merged += count;
  m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), ofTable), m_waiting.end());
  // An object event naming no object: every object of the table.
  m_waiting.emplace_back(table, std::make_shared<CAppEvent>(event->serverIndex, "modify", table));
}
