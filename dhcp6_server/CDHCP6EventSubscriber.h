#pragma once
// One worker thread's subscriber to the system bus. The bus delivers on
// that thread (through the thread's executor), so the handling touches the
// thread's own state without locks, inside one transaction of its session.
// Every event it takes says "read this again", so events of one class wait
// merged until the thread gets to them: a burst of changes on the control
// socket costs each thread a few rereads, not one per change.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "extended/CISystemBus.h"

class CDHCP6TLS;

class CDHCP6EventSubscriber : public CIEventSubscriber {
 public:
  static constexpr const char* kAddressPools = "dhcp_apools6";
  static constexpr const char* kPrefixPools = "dhcp_npools6";
  static constexpr const char* kPolicies = "dhcp_policies6";

  explicit CDHCP6EventSubscriber(CDHCP6TLS& tls) : m_tls(tls) {}

  // Configuration, mode, pool, policy and rule events.
  static std::vector<std::string> eventClasses();

  void event(const std::shared_ptr<const CAppEvent>& event) override;
  std::string mergeKey(const CAppEvent& event) const override { return event.evtClass; }
  std::shared_ptr<const CAppEvent> merge(
      const std::shared_ptr<const CAppEvent>& waiting,
      const std::shared_ptr<const CAppEvent>& later) const override {
    return mergeEvents(waiting, later);
  }
  // The later event, except that changes of two different pools reread
  // every pool of their kind.
  static std::shared_ptr<const CAppEvent> mergeEvents(
      const std::shared_ptr<const CAppEvent>& waiting,
      const std::shared_ptr<const CAppEvent>& later);

 private:
  void _handle(const CAppEvent& event);
  void _configEvent();
  void _modeEvent(const CAppEvent& event);
  // The pool an event names; -1 (all) when it names none.
  static std::int32_t _oid(const CAppEvent& event);

  CDHCP6TLS& m_tls;
};
