#pragma once
// The addresses (prefixes) in use in a range: leased or offered, in any
// pool or none (an operator's fixed binding), read from the column
// ADDR_KEY of the binding and pending tables of one kind, so that the cost
// depends on the rows asked for, not on how many the range holds.

#include <cstddef>
#include <vector>

#include "oodb/CIPrstSession.h"
#include "standard/CIPAddress.h"

class CPrstBindingUsedAddrs {
 public:
  // The same numbers as the address manager's pool kinds.
  enum Kind : int { addresses = 0, prefixes = 1 };

  // "address6.used_range" / "prefix6.used_range": the used ones in
  // [from, to], ascending, at most rows of them.
  static std::vector<nuv::CIPAddress> inRange(CIPrstSession& session, Kind kind,
                                              const nuv::CIPAddress& from,
                                              const nuv::CIPAddress& to, std::size_t rows);
  // "address6.used_max" / "prefix6.used_max": the highest used one in
  // [from, to]; unset when none is.
  static nuv::CIPAddress highest(CIPrstSession& session, Kind kind, const nuv::CIPAddress& from,
                                 const nuv::CIPAddress& to);
};
