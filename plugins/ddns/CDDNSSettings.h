#pragma once
// What the DNS update plug-in takes from the configuration. The sender
// reads them again for every update, so a re-read configuration (a new
// TSIG key) applies from the next update on; the queue's size is read once,
// at start.

#include <cstdint>
#include <string>

#include "standard/CEndpoint.h"

class CMasterController;

struct CDDNSSettings {
  static constexpr std::uint32_t kQueueSize = 1024;
  static constexpr std::uint32_t kTimeoutMs = 2000;
  static constexpr std::uint32_t kRetries = 3;
  static constexpr std::uint32_t kDrainSeconds = 3;
  static constexpr std::uint32_t kTTL = 3600;

  // The TSIG key (HMAC-SHA256); no name: updates go unsigned.
  std::string keyName;
  std::string keySecret;  // base64; never written to a log
  std::uint32_t queueSize = kQueueSize;
  std::uint32_t timeoutMs = kTimeoutMs;
  // Sends after the first one for an update that timed out or got SERVFAIL.
  std::uint32_t retries = kRetries;
  std::uint32_t drainSeconds = kDrainSeconds;
  // For records whose update carries no time to live.
  std::uint32_t defaultTTL = kTTL;
  // For updates that name no DNS server; not valid when not configured.
  nuv::CEndpoint defaultServer;

  bool signs() const { return !keyName.empty(); }

  // The "ddns." keys of the DHCPv6 family and the family-free
  // "ddns.default_server" and "ddns.default_ttl". A value that does not
  // read keeps its default and is recorded; a queue size or time-out of 0
  // means the default.
  static CDDNSSettings read(CMasterController& controller);
};
