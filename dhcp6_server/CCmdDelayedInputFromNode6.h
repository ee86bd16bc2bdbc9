#pragma once
// A side command that records the received message in the packet store. It
// runs after commit and after failure alike (type 1), so that even a
// message whose processing failed is kept.

#include <cstdint>

#include "extended/CSyncCommand.h"

class CDHCP6TLS;
class CRawPktData;

class CCmdDelayedInputFromNode6 : public CSyncCommand {
 public:
  // The packet belongs to the message in progress and outlives the command.
  CCmdDelayedInputFromNode6(CDHCP6TLS& tls, std::uint8_t messageType, const CRawPktData& packet)
      : CSyncCommand(always), m_tls(tls), m_type(messageType), m_packet(packet) {}
  void execute() override;

 private:
  CDHCP6TLS& m_tls;
  std::uint8_t m_type;
  const CRawPktData& m_packet;
};
