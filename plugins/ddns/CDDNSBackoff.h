#pragma once
// The pause before an update is sent again: it doubles with every failed
// attempt, from half a second up to eight seconds, so that a DNS server
// that is restarting is not hammered and one that is gone costs little.

#include <chrono>
#include <cstdint>

struct CDDNSBackoff {
  static constexpr std::chrono::milliseconds kFirst{500};
  static constexpr std::chrono::milliseconds kLongest{8000};

  // The pause after the attempt-th failed attempt (1 for the first).
  static constexpr std::chrono::milliseconds after(std::uint32_t attempt) {
    std::chrono::milliseconds pause = kFirst;
    for (std::uint32_t i = 1; i < attempt && pause < kLongest; ++i) pause *= 2;
    return pause < kLongest ? pause : kLongest;
  }
};
