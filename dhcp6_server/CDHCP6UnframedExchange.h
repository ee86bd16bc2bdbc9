#pragma once
// Stands in for the message framing until it exists: no datagram can be
// read as a DHCPv6 message yet, so every one is handled as message type 0
// (counted, then dropped as unexpected) and no reply is ever built.

#include "dhcp6_server/CIDHCP6Exchange.h"

class CDHCP6UnframedExchange : public CIDHCP6Exchange {
 public:
  std::uint8_t parseRequest(const std::uint8_t*, std::size_t, const nuv::CIPAddress&,
                            const nuv::CIPAddress&, const nuv::CHexStore&) override {
    return 0;
  }
  std::uint32_t startReply(const nuv::CHexStore&, nuv::CIPAddress& link) override;
  unsigned relayCount() const override { return 0; }
  int leaseQuery(CIDHCPLeaseQuery&) override;
  const std::uint8_t* serializeReply(std::size_t& length, std::uint8_t& replyType) override;
  CDHCPPktIdentity requestIdentity() const override { return {}; }
  CDHCPPktIdentity replyIdentity() const override { return {}; }
  std::string requestText() const override { return {}; }
  std::string replyText() const override { return {}; }
  CAppEventQueue& eventQueue() override { return m_events; }
  void clear() override { m_events.clear(); }

 private:
  CAppEventQueue m_events;
};
