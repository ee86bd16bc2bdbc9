#pragma once
// The vendor identity under which option definitions are looked up: a path
// of signed enterprise numbers. 0 is the reserved identity (every standard
// option and the header pseudo-options).

#include <cstdint>
#include <string_view>

#include "dhcp_base/CCodePath.h"

class CVendorID : public CCodePath<std::int32_t> {
 public:
  static constexpr std::int32_t kReserved = 0;
  static constexpr std::int32_t kUndefined = 0x7fffffff;
  // Our own enterprise number: the one IANA sets aside for documentation
  // (RFC 5612), so it never collides with a real vendor's definitions.
  static constexpr std::int32_t kSystem = 32473;

  using CCodePath::CCodePath;
  CVendorID() = default;
  CVendorID(const CCodePath& path) : CCodePath(path) {}  // NOLINT: implicit by design
  explicit CVendorID(std::string_view text) { set(text); }

  static const CVendorID& reserved();
  static const CVendorID& undefined();
  static const CVendorID& system();

  void set(std::string_view text) {
    _parse(text, "CVendorID::set", "Cannot set vendor id from text '%1'.");
  }
};
