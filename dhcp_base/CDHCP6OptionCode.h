#pragma once
// Codes of the DHCPv6 options the message layer and the processors name
// directly, and of the header fields kept as pseudo-options in each
// layer's option set (negative codes, stored as their 32-bit two's
// complement like every tag path component).

#include <cstdint>

struct CDHCP6OptionCode {
  enum : std::uint32_t {
    clientID = 1,
    serverID = 2,
    iaNA = 3,
    iaTA = 4,
    iaAddr = 5,
    oro = 6,
    elapsedTime = 8,
    relayMsg = 9,
    auth = 11,
    statusCode = 13,
    interfaceID = 18,
    reconfMsg = 19,
    iaPD = 25,
    iaPrefix = 26,
    clientFQDN = 39,

    msgType = 0xffffff00u,        // -256: every layer
    transactionID = 0xffffff01u,  // -255: the client/server message
    hopCount = 0xffffff02u,       // -254: relay layers
    linkAddress = 0xffffff03u,    // -253: relay layers
    peerAddress = 0xffffff04u,    // -252: relay layers
  };
};
