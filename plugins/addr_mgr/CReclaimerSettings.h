#pragma once
// What the reclaimer takes from the configuration. It reads them again
// before every run, so a re-read configuration applies from the next run.

#include <cstdint>

class CMasterController;

struct CReclaimerSettings {
  static constexpr std::uint32_t kInterval = 10;
  static constexpr std::uint32_t kSelectCount = 1000;
  static constexpr std::uint32_t kLeadTime = 10;

  // Seconds between runs; 0: the reclaimer never runs.
  std::uint32_t interval = kInterval;
  // Most bindings of each kind (addresses, prefixes) one run removes.
  std::uint32_t selectCount = kSelectCount;
  // Seconds a binding stays past its expiry before it is removed: room
  // for the clocks of the client, this server and its peers to differ.
  std::uint32_t leadTime = kLeadTime;

  // "reclaimer.interval", "reclaimer.select_count" and
  // "reclaimer.lead_time" of the DHCPv6 family. A value that does not read
  // keeps its default and is recorded; a select count of 0 means the default.
  static CReclaimerSettings read(CMasterController& controller);
};
