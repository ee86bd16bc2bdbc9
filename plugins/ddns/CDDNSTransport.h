#pragma once
// Sends one update message to a DNS server over UDP with ldns and reads
// the answer, verifying its TSIG signature when the update was signed.
// Blocks for at most the time-out; used by the sender thread only.

#include <cstdint>
#include <string>

#include "plugins/ddns/CDDNSMessage.h"
#include "plugins/ddns/CDDNSOutcome.h"
#include "standard/CEndpoint.h"

class CDDNSTransport {
 public:
  // keyName empty: the message is unsigned and so is the answer expected.
  static CDDNSOutcome exchange(const CDDNSMessage& message, const nuv::CEndpoint& server,
                               const std::string& keyName, const std::string& secret,
                               std::uint32_t timeoutMs);
};
