#pragma once
// How full each DHCPv6 pool is: the addresses (or delegated prefixes) of
// its range less its exclusions, those leased (a binding holds them,
// expired ones too until the reclaimer removes them), those offered (a
// pending offer holds them) and those free. Read with counting statements
// in the caller's session; every pool is read, whatever its domains.

#include <cstdint>
#include <string>
#include <vector>

#include "oodb/CIPrstSession.h"

class CPrstPool;

struct CPoolUsage {
  std::string name;
  bool prefixPool = false;
  std::int32_t oid = 0;
  bool enabled = true;
  // A /64 address pool holds 2^64 addresses: counts of a range are doubles.
  double total = 0;
  std::int64_t leased = 0;
  std::int64_t offered = 0;

  double free() const;
  // Leased and offered as a percentage of the total (0 for an empty range).
  double utilisation() const;
  // "address" or "prefix".
  const char* kind() const { return prefixPool ? "prefix" : "address"; }

  // Address pools first, then prefix pools, each in row order.
  static std::vector<CPoolUsage> read(CIPrstSession& session);
  // The addresses or prefixes a pool can hand out.
  static double size(const CPrstPool& pool);
};
