#pragma once
// One dynamic DNS change waiting to be sent: which records, added or
// removed, and the data the server handed over.

#include <cstdint>
#include <string>

#include "dhcp_server_common/CIDHCPDDNS.h"

struct CDDNSJob {
  // The address records of the name in the forward zone, or the PTR
  // records of the addresses in the reverse zone.
  enum class Records : std::uint8_t { forward, reverse };
  enum class Action : std::uint8_t { add, remove };

  Records records = Records::forward;
  Action action = Action::add;
  CDDNSUpdate update;

  // For log lines: "adding the AAAA records of 'host1.example.net' in zone 'example.net'".
  std::string describe() const;
};
