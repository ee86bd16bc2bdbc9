#pragma once
// The leases "dhcp6ctl leases" shows: every address and prefix binding
// with its client (DUID, IA type, IAID), state and time left (CLeaseState)
// and the name of its pool, optionally only one pool's or only those that
// still hold time (active, fixed) or hold none (expired, released).

#include <cstdint>
#include <string>
#include <vector>

#include "oodb/CIPrstSession.h"
#include "standard/CTimeT.h"

struct CLeaseRow {
  std::string address;  // "2001:db8::5", or "2001:db8:100::/56" for a prefix
  bool prefix = false;
  std::string duid;
  std::string iaType;
  std::uint32_t iaid = 0;
  std::string state;
  std::int64_t remaining = 0;
  bool infinite = false;
  std::string pool;  // empty when the lease names no pool
};

class CLeaseReport {
 public:
  enum class Filter { all, active, expired };

  // Address leases first, then prefix leases, each in row order.
  static std::vector<CLeaseRow> read(CIPrstSession& session, nuv::CTimeT now,
                                     const std::string& pool = {}, Filter filter = Filter::all);
  // "3600", "0" or "infinite".
  static std::string remainingText(const CLeaseRow& row);
};
