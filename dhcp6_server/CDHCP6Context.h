#pragma once
// A worker thread's DHCPv6 server context: its mediator and the message in
// progress (request, reply and node context, reached through exchange()).
// Thread 0's context is the master; the others are its clones.

#include <memory>
#include <string>

#include "dhcp6_server/CDHCP6Mediator.h"
#include "dhcp6_server/CIDHCP6Exchange.h"
#include "dhcp_server_common/CIDHCPContext.h"

class CDHCP6Context : public CIDHCPContext {
 public:
  static constexpr const char* kName = "dhcpv6";

  CDHCP6Context(CIDHCPController* controller, bool master);
  ~CDHCP6Context() override;

  CProtocolFamily family() const override { return CProtocolFamily(6); }
  const std::string& name() const override { return m_name; }
  CIDHCPController* controller() const override { return m_controller; }
  bool master() const override { return m_master; }
  CIDHCPMediator& mediator() override { return m_mediator; }
  CDHCP6Mediator& dhcpMediator() { return m_mediator; }
  CIDHCP6Exchange& exchange() { return *m_exchange; }
  // Replaces how messages are read and built (the message framing's
  // exchange replaces the stand-in).
  void exchange(std::unique_ptr<CIDHCP6Exchange> exchange) { m_exchange = std::move(exchange); }

  // Forgets any message in progress; a second call raises.
  void init() override;
  void close() override;
  // A context for another thread: same controller, not the master.
  std::unique_ptr<CDHCP6Context> clone() const;

 private:
  CIDHCPController* m_controller;  // the host's; not owned
  bool m_master;
  std::string m_name = kName;
  bool m_initialized = false;
  CDHCP6Mediator m_mediator;
  std::unique_ptr<CIDHCP6Exchange> m_exchange;
};
