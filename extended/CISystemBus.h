#pragma once
// The system bus as plug-ins see it: publish application events, subscribe
// to classes of them. Found through a plug-in providing "CISystemBusFactory".

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "extended/CAppEvent.h"

class CIEventSubscriber {
 public:
  virtual ~CIEventSubscriber() = default;
  virtual void event(const std::shared_ptr<const CAppEvent>& event) = 0;

  // Events that only say "read this again" may wait merged while a delivery
  // to the subscriber's executor is queued, so a burst costs its thread one
  // event per key instead of one per event. Empty: delivered one by one.
  // Both run on the publishing thread and must not touch the subscriber's
  // thread state.
  virtual std::string mergeKey(const CAppEvent& /*event*/) const { return {}; }
  // The one event standing for a waiting event and a later one of its key.
  virtual std::shared_ptr<const CAppEvent> merge(
      const std::shared_ptr<const CAppEvent>& /*waiting*/,
      const std::shared_ptr<const CAppEvent>& later) const {
    return later;
  }
};

// Runs a delivery where the subscriber wants it (a worker thread's queue);
// an empty executor delivers on the publishing thread.
using CEventExecutor = std::function<void(std::function<void()>)>;

class CISystemBus {
 public:
  virtual ~CISystemBus() = default;
  // The bus takes shared ownership and numbers the event; returns its sequence.
  virtual std::int64_t publish(std::shared_ptr<CAppEvent> event, int flags) = 0;
  // classes: event classes wanted; empty means every class.
  virtual void subscribe(CIEventSubscriber* subscriber, std::vector<std::string> classes,
                         CEventExecutor executor = {}) = 0;
  // After this returns no delivery reaches the subscriber that has not
  // already started on the calling thread.
  virtual void unsubscribe(CIEventSubscriber* subscriber) = 0;
  // The most recent events kept for late readers, oldest first.
  virtual std::vector<std::shared_ptr<const CAppEvent>> history() const = 0;
};

class CISystemBusFactory {
 public:
  virtual ~CISystemBusFactory() = default;
  // contextName says who asks ("dhcpv6", a thread's name); every caller of
  // one factory shares one bus.
  virtual std::shared_ptr<CISystemBus> createBus(const std::string& contextName) = 0;
};
