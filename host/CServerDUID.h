#pragma once
// The server's DUID: "system.duid" when configured; otherwise the one kept in
// the variable-data directory, made on first start so that it survives
// restarts: a DUID-LLT from a local interface's hardware address, or a
// DUID-UUID when no interface has one.

#include <ctime>
#include <string>

#include "standard/CConfig.h"
#include "standard/CHexStore.h"

class CServerDUID {
 public:
  static constexpr const char* kFileName = "server.duid";

  // Throws when the configured DUID is not a byte sequence or the file
  // cannot be read or written.
  static nuv::CHexStore obtain(const nuv::CConfig& config, const std::string& varDir);

  // DUID-LLT (type 1) for an Ethernet address at the given time.
  static nuv::CHexStore makeLLT(const std::uint8_t* mac, std::size_t len, std::uint16_t hwType,
                                std::time_t now);
  // DUID-UUID (type 4) from the kernel's random UUID source.
  static nuv::CHexStore makeUUID();
  // First non-loopback interface hardware address; false when none.
  static bool findHardwareAddress(std::uint8_t (&mac)[32], std::size_t& len, std::uint16_t& hwType);
};
