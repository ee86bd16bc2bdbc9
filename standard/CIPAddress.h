#pragma once
// An IPv4 or IPv6 address held as a big-endian unsigned number of its own
// width (32 or 128 bits), so that pools can be scanned and prefixes computed
// by plain arithmetic. A small value type: 16 bytes and a type, no heap.
//
// Rules worth knowing:
// - An address of type `none` (255) is unset: isValid() is false, string()
//   is empty, and ordering or arithmetic on it throws.
// - `==` holds when type and bytes are equal. `>` orders equal types as
//   numbers; any IPv6 address is greater than any IPv4 address. `<` is
//   "not equal and not greater"; `<=` and `>=` test equality first, so two
//   unset addresses are `<=` each other without throwing.
// - Arithmetic and bitwise operators read the other operand as an unsigned
//   number, zero-extended or cut to this address's width, and wrap modulo
//   that width. The result keeps the left operand's type.
// - addrClass: the classful IPv4 class by the leading bits (class_d is
//   multicast); an IPv6 address is class_d when multicast and class_v6
//   otherwise; an IPv4-mapped IPv6 address has the class of its IPv4 address.
// - addrScope: scope values as used in IPv6 multicast addresses (RFC 4007).
//   IPv6 multicast: its scope field. IPv6 unicast: :: none, ::1 interface,
//   fe80::/10 link, fec0::/10 site, everything else global. IPv4: 0.0.0.0
//   none, 127/8 interface, 169.254/16 and 224.0.0/24 link, the private ranges
//   10/8, 172.16/12, 192.168/16 and 239.255/16 site, the rest of 239/8
//   organization, everything else global. Mapped addresses use the IPv4 rule.

#include <netinet/in.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace nuv {

class CIPAddress {
 public:
  enum addr_type : std::uint8_t { ipv4 = 4, ipv6 = 6, none = 255 };
  enum addr_class : std::uint8_t {
    class_none = 0,
    class_a,
    class_b,
    class_c,
    class_d,  // multicast
    class_e,
    class_v6,  // IPv6 unicast
  };
  enum addr_scope : std::uint8_t {
    scope_none = 0,
    scope_interface = 1,
    scope_link = 2,
    scope_admin = 4,
    scope_site = 5,
    scope_organization = 8,
    scope_global = 14,
  };

  // Unset (type none).
  CIPAddress() = default;
  // All zero bits of the given type.
  explicit CIPAddress(addr_type type);
  // Standard IPv6 or dotted IPv4 text; throws on anything else.
  explicit CIPAddress(std::string_view text);
  explicit CIPAddress(const char* text) : CIPAddress(std::string_view(text ? text : "")) {}
  explicit CIPAddress(const std::string& text) : CIPAddress(std::string_view(text)) {}
  // Network-order bytes; len must be 4 or 16.
  CIPAddress(const std::uint8_t* raw, std::size_t len);
  explicit CIPAddress(const in_addr& addr);
  explicit CIPAddress(const in6_addr& addr);

  // The address for text, or nothing when the text is not an address.
  static std::optional<CIPAddress> fromText(std::string_view text) noexcept;

  addr_type type() const { return m_type; }
  bool isValid() const { return m_type != none; }
  const std::uint8_t* raw() const { return m_bytes.data(); }
  // 4, 16, or 0 when unset.
  std::size_t raw_len() const { return m_type == ipv4 ? 4 : m_type == ipv6 ? 16 : 0; }
  std::size_t bitWidth() const { return raw_len() * 8; }
  // Replaces type and bytes; len must be 4 or 16.
  void setRaw(const std::uint8_t* raw, std::size_t len);

  in_addr toInAddr() const;    // IPv4 (or IPv4-mapped IPv6) only
  in6_addr toIn6Addr() const;  // IPv6; IPv4 is mapped

  std::string string() const;
  std::string fat_string() const;

  // Comparison (see the rules at the top of this file).
  bool operator==(const CIPAddress& other) const;
  bool operator!=(const CIPAddress& other) const { return !(*this == other); }
  bool operator>(const CIPAddress& other) const;
  bool operator<(const CIPAddress& other) const { return !(*this == other) && !(*this > other); }
  bool operator<=(const CIPAddress& other) const { return *this == other || *this < other; }
  bool operator>=(const CIPAddress& other) const { return *this == other || *this > other; }

  // Arithmetic with carry on the address's own width.
  CIPAddress& operator+=(const CIPAddress& other);
  CIPAddress& operator+=(std::uint64_t n);
  CIPAddress& operator-=(const CIPAddress& other);
  CIPAddress& operator-=(std::uint64_t n);
  CIPAddress operator+(const CIPAddress& other) const { return CIPAddress(*this) += other; }
  CIPAddress operator+(std::uint64_t n) const { return CIPAddress(*this) += n; }
  CIPAddress operator-(const CIPAddress& other) const { return CIPAddress(*this) -= other; }
  CIPAddress operator-(std::uint64_t n) const { return CIPAddress(*this) -= n; }
  CIPAddress& operator++() { return *this += 1; }
  CIPAddress operator++(int);
  CIPAddress& operator--() { return *this -= 1; }
  CIPAddress operator--(int);
  // Bit shifts; n at or beyond the width gives zero.
  CIPAddress& shiftLeft(unsigned n);
  CIPAddress& shiftRight(unsigned n);

  CIPAddress& operator&=(const CIPAddress& other);
  CIPAddress& operator|=(const CIPAddress& other);
  CIPAddress& operator^=(const CIPAddress& other);
  CIPAddress operator&(const CIPAddress& other) const { return CIPAddress(*this) &= other; }
  CIPAddress operator|(const CIPAddress& other) const { return CIPAddress(*this) |= other; }
  CIPAddress operator^(const CIPAddress& other) const { return CIPAddress(*this) ^= other; }
  CIPAddress operator~() const;

  // A copy with every bit after the first len bits cleared.
  CIPAddress createPrefix(unsigned len) const;
  // Number of leading one bits of a mask; throws when the ones are not
  // contiguous or the mask is unset.
  static unsigned prefixLenFromMask(const CIPAddress& mask);

  bool isLinkLocal() const;
  bool isSiteLocal() const;
  bool isLoopBack() const;
  bool isMappedIPv4() const;
  bool isMulticast() const;
  // IPv4 <-> IPv4-mapped IPv6; the same type gives a copy.
  CIPAddress mapTo(addr_type type) const;
  addr_class addrClass() const;
  addr_scope addrScope() const;

  // All zero bits (0.0.0.0 or ::), keeping the type; an unset address
  // becomes IPv6, the family this server works in.
  void set_inaddr_any();
  void set_inaddr_any(addr_type type);
  // 127.0.0.1 or ::1, with the same type rule.
  void setLoopback();
  void setLoopback(addr_type type);

 private:
  void _requireValid(const char* context) const;
  void _addBytes(const std::uint8_t* other, std::size_t len, bool subtract);
  void _bitwise(const CIPAddress& other, char op);
  std::string _v6string() const;
  std::uint8_t* _begin() { return m_bytes.data(); }

  std::array<std::uint8_t, 16> m_bytes{};
  addr_type m_type = none;
};

}  // namespace nuv

namespace std {
template <>
struct hash<nuv::CIPAddress> {
  std::size_t operator()(const nuv::CIPAddress& a) const noexcept;
};
}  // namespace std
