#pragma once
// The candidate pools handed to the address manager, by identity.

#include <cstdint>
#include <map>
#include <string>

#include "oodb/CPrstUserClassPtr.h"

template <class Pool>
class CPoolMap : public std::map<std::int32_t, CPrstUserClassPtr<Pool>> {
 public:
  // The identities in ascending order joined by "," ("12,15,40").
  std::string string() const {
    std::string out;
    for (const auto& entry : *this) {
      if (!out.empty()) out += ',';
      out += std::to_string(entry.first);
    }
    return out;
  }
};
