#pragma once
// One worker thread's subscriber to the system bus. The bus delivers on
// that thread (through the thread's executor), so the handling touches the
// thread's own state without locks, inside one transaction of its session.

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

 private:
  void _handle(const CAppEvent& event);
  void _configEvent();
  void _modeEvent(const CAppEvent& event);
  // The pool an event names; -1 (all) when it names none.
  static std::int32_t _oid(const CAppEvent& event);

  CDHCP6TLS& m_tls;
};
