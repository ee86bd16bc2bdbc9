#pragma once

namespace nuv {

// Severities are single bits so that a sink can hold any set of them as a mask.
enum severity_t : unsigned {
  sev_info = 1,
  sev_warning = 2,
  sev_error = 4,
  sev_debug = 8,
  sev_audit = 16,
  sev_verbose = 32,
};

constexpr unsigned kAllSeverities = 63;

}  // namespace nuv
