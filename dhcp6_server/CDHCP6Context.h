#pragma once
// A worker thread's DHCPv6 server context: its mediator, the protocol
// context its options are made in, and the message in progress (request,
// reply and the node context of the request's client). Thread 0's context
// is the master; the others are its clones.

#include <memory>
#include <string>

#include "dhcp6_server/CDHCP6Mediator.h"
#include "dhcp_base/CDHCP6Packet.h"
#include "dhcp_server_common/CIDHCPContext.h"
#include "dhcp_server_common/CNodeContext.h"

class CDHCP6Context : public CIDHCPContext {
 public:
  static constexpr const char* kName = "dhcpv6";

  CDHCP6Context(CIDHCPController* controller, bool master);
  ~CDHCP6Context() override;

  const std::string& name() const override { return m_name; }
  CIDHCPController* controller() const override { return m_controller; }
  bool master() const override { return m_master; }
  CIDHCPMediator& mediator() override { return m_mediator; }
  CDHCP6Mediator& dhcpMediator() { return m_mediator; }
  CIPrstSession& prstSession() override;
  // Set by the owning thread state once its session is open (null: none).
  void prstSession(CIPrstSession* session) { m_session = session; }
  const CDHCP6Attributes& protocolAttributes() const { return m_mediator.protocolAttributes(); }

  // The request and the reply being built: reused for every message.
  const std::shared_ptr<CDHCP6Packet>& inPacket() const { return m_in; }
  const std::shared_ptr<CDHCP6Packet>& outPacket() const { return m_out; }
  CNodeContext& ncIn() { return m_ncIn; }

  // Forgets any message in progress; a second call raises.
  void init() override;
  void close() override;
  // Forgets the message in progress: node context, request and reply.
  void clearMessage();
  // A context for another thread: same controller, not the master.
  std::unique_ptr<CDHCP6Context> clone() const;

 private:
  CIDHCPController* m_controller;  // the host's; not owned
  bool m_master;
  std::string m_name = kName;
  bool m_initialized = false;
  CDHCP6Mediator m_mediator;
  std::shared_ptr<CDHCP6Packet> m_in;
  std::shared_ptr<CDHCP6Packet> m_out;
  CNodeContext m_ncIn;
  CIPrstSession* m_session = nullptr;  // the thread state's; not owned
};
