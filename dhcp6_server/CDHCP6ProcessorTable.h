#pragma once
// Which message processor handles each client message type. A processor
// is run as Processor(tls, node context, link, transaction-id).execute(port)
// and returns the transmit code (0 drop, 1 transmit, 2 ignore).

#include <cstdint>

#include "standard/CIPAddress.h"

class CDHCP6TLS;

class CDHCP6ProcessorTable {
 public:
  using Run = int (*)(CDHCP6TLS& tls, const nuv::CIPAddress& link, std::uint32_t transactionId,
                      std::uint16_t& port);

  // The processor for a client message type; null while none handles it.
  static Run processor(std::uint8_t messageType);
};
