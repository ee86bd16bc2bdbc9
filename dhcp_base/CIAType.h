#pragma once
// The kind of an identity association, numbered as leases store it, and
// the option codes and element numbers that go with each kind.

#include <cstdint>
#include <string>
#include <string_view>

class CIAType {
 public:
  enum value_type : std::uint8_t { iata = 0, iana = 1, iapd = 2, unknown = 255 };

  CIAType() = default;
  // 0, 1, 2 or 255; anything else fails "Cannot set IA type.".
  CIAType(std::uint8_t value);  // NOLINT: implicit by design
  // "ia_na"/"iana", "ia_ta"/"iata", "ia_pd"/"iapd" in any case.
  CIAType& operator=(std::string_view name);
  // The kind of the IA option with this code (3, 4, 25); unknown otherwise.
  static CIAType fromOptionCode(std::uint32_t code);

  std::uint8_t value() const { return m_value; }
  operator std::uint8_t() const { return m_value; }  // NOLINT: implicit by design
  // "iata", "iana", "iapd" or "unknown".
  std::string string() const;

  // Each fails "Unknown binding id type." for unknown.
  // The code of the IA option: 4, 3, 25.
  std::uint32_t iaTypeTag() const;
  // The code of the address option inside it: 5, 5, 26.
  std::uint32_t iaAddrTag() const;
  // The element of that option that holds the address or prefix: 1, 1, 4.
  std::uint32_t iaAddrAddressTag() const;

 private:
  std::uint32_t _pick(std::uint32_t ta, std::uint32_t na, std::uint32_t pd,
                      const char* context) const;

  std::uint8_t m_value = unknown;
};
