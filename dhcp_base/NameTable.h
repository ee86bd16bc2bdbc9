#pragma once
// Names of small enumerated values (message types, status codes, IA kinds),
// looked up both ways. A table lists the name of value i at index i; null
// entries are values without a name.

#include <cstddef>
#include <optional>
#include <string_view>

#include "standard/StringUtil.h"

namespace nametable {

template <std::size_t N>
const char* name(const char* const (&names)[N], unsigned value) {
  return value < N ? names[value] : nullptr;
}

// The value whose name equals text in any case, searching from first on.
template <std::size_t N>
std::optional<unsigned> value(const char* const (&names)[N], std::string_view text,
                              unsigned first = 0) {
  for (unsigned i = first; i < N; ++i)
    if (names[i] && nuv::iequals(text, names[i])) return i;
  return std::nullopt;
}

}  // namespace nametable
