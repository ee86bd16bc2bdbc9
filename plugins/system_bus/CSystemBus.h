#pragma once
// The in-process system bus: numbers events, keeps the latest ones, hands
// each to the subscribers of its class through their executors, and appends
// lease events to an audit file as JSON lines when one is configured.
// Events a subscriber gives a merge key wait, merged by key, behind a single
// queued delivery: a burst of them never queues more than one delivery per
// subscriber.

#include <atomic>
#include <deque>
#include <fstream>
#include <mutex>
#include <set>

#include "extended/CISystemBus.h"

class CSystemBus : public CISystemBus {
 public:
  static constexpr std::size_t kDefaultHistory = 1000;

  // auditFile: empty for none. Throws when the file cannot be opened.
  void configure(const std::string& auditFile, std::size_t maxHistory);

  std::int64_t publish(std::shared_ptr<CAppEvent> event, int flags) override;
  void subscribe(CIEventSubscriber* subscriber, std::vector<std::string> classes,
                 CEventExecutor executor = {}) override;
  void unsubscribe(CIEventSubscriber* subscriber) override;
  std::vector<std::shared_ptr<const CAppEvent>> history() const override;

  // Lease events (address and prefix leases) go to the audit file.
  static bool isLeaseEvent(const CAppEvent& event);

 private:
  struct Subscription {
    CIEventSubscriber* subscriber;
    std::set<std::string> classes;
    CEventExecutor executor;
    std::atomic<bool> active{true};
    // Merged events in order of their key's first arrival, and whether a
    // delivery taking them is queued.
    std::mutex waitingMutex;
    std::vector<std::pair<std::string, std::shared_ptr<const CAppEvent>>> waiting;
    bool queued = false;
  };

  // Under m_mutex: true when a delivery of the waiting events must be queued.
  static bool _wait(Subscription& s, const std::string& key,
                    const std::shared_ptr<const CAppEvent>& event);
  static void _deliverWaiting(Subscription& s);

  mutable std::mutex m_mutex;
  std::int64_t m_sequence = 0;
  std::vector<std::shared_ptr<Subscription>> m_subscriptions;
  std::deque<std::shared_ptr<const CAppEvent>> m_history;
  std::size_t m_maxHistory = kDefaultHistory;
  std::string m_auditPath;
  std::ofstream m_audit;
};
