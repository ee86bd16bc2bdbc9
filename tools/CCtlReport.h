#pragma once
// The reports of dhcp6ctl as a table for people or as JSON for programs:
// leases, pools with their use, and the running server's counters.

#include <ostream>
#include <string>
#include <vector>

#include "dhcp_database/CPoolUsage.h"
#include "tools/CLeaseReport.h"

class CCtlReport {
 public:
  // A JSON array of objects: address, prefix, duid, ia_type, iaid, state,
  // remaining (seconds), infinite, pool.
  static void leases(const std::vector<CLeaseRow>& rows, bool json, std::ostream& out);
  // A JSON array of objects: name, kind, enabled, total, leased, offered,
  // free, utilisation (percent).
  static void pools(const std::vector<CPoolUsage>& pools, bool json, std::ostream& out);
  // The server's "metric=value" lines; JSON: one object, metric to value.
  static void stats(const std::string& answer, bool json, std::ostream& out);
};
