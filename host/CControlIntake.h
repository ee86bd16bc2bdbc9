#pragma once
// Bounds the share of the server's time the control socket can take: at
// most perSecond changes a second are published as they come; the rest
// wait, merged, until the next second. A second change of one object is
// the same news as the first (the threads reread it either way); more
// than maxWaiting objects of one table waiting become one change of the
// whole table; of mode switches the last counts. Nothing an operator
// changed is lost: a burst arrives up to a second later and in far fewer
// events. Not locked: the control socket's thread owns it.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "extended/CAppEvent.h"

class CControlIntake {
 public:
  static constexpr unsigned kPerSecond = 50;
  static constexpr std::size_t kMaxWaiting = 32;

  explicit CControlIntake(unsigned perSecond = kPerSecond, std::size_t maxWaiting = kMaxWaiting)
      : m_perSecond(perSecond), m_maxWaiting(maxWaiting) {}

  // now counts seconds of a steady clock. The event to publish now, or
  // null when it waits.
  std::shared_ptr<CAppEvent> admit(std::shared_ptr<CAppEvent> event, std::int64_t now);
  // The waiting events, oldest first, once a later second has begun; they
  // count against that second's budget.
  std::vector<std::shared_ptr<CAppEvent>> due(std::int64_t now);
  bool waiting() const { return !m_waiting.empty(); }
  // The changes merged into waiting ones since the last call.
  unsigned long takeMerged() { return std::exchange(m_merged, 0); }

 private:
  void _wait(std::shared_ptr<CAppEvent> event);

  unsigned m_perSecond;
  std::size_t m_maxWaiting;
  std::int64_t m_second = 0;
  unsigned m_published = 0;
  unsigned long m_merged = 0;
  // Keyed by class and object; a whole table's key is its class alone.
  std::vector<std::pair<std::string, std::shared_ptr<CAppEvent>>> m_waiting;
};
