#pragma once
// The address of an option in a tree: the codes of the option and of its
// ancestors, outermost first ("3/4/5": IA_NA, its sub-option element 4, IA
// Address). Negative codes (message header pseudo-options) are kept as
// their two's-complement values and printed signed.

#include <cstdint>
#include <string_view>

#include "dhcp_base/CCodePath.h"

class CTagPath : public CCodePath<std::uint32_t> {
 public:
  using CCodePath::CCodePath;
  CTagPath() = default;
  CTagPath(const CCodePath& path) : CCodePath(path) {}  // NOLINT: implicit by design
  explicit CTagPath(std::string_view text) { set(text); }

  // Throws "Cannot set tag path from text '%1'." on a bad component.
  void set(std::string_view text) {
    _parse(text, "CTagPath::set", "Cannot set tag path from text '%1'.");
  }
  // The option code: the last component.
  std::uint32_t tag() const { return empty() ? 0xffffffffu : back(); }
};
