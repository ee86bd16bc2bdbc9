#pragma once
// The dynamically typed value of the system: what expressions compute, what
// option values convert to and from, what configuration expressions yield.
//
// Layout: one std::variant whose alternative index is the data type value,
// plus a subtype byte (48 bytes in all). Scalars, addresses, times and
// endpoints live inline; a byte sequence is held as a shared immutable
// store, so copying a variant never copies bytes and never allocates except
// for strings too long for the small-string buffer.
//
// Conversions (convertTo and the typed getters) follow a fixed matrix; the
// non-obvious rules:
// - to boolean: integer > 0; uinteger != 0; time != 0; byte sequence
//   non-empty; ip address not all zero bits; string: false when empty or
//   "false" in any case, true otherwise; unknown: false.
// - to string: boolean "true"/"false"; time its dateUTC() text; byte
//   sequence its hex text ("00-0A-FF"); unknown the empty text.
// - string to integer/uinteger: strtoll/strtoull with base 0, the rule of
//   sscanf "%lli"/"%llu": leading blanks skipped, trailing text ignored, an
//   out-of-range value clamped; no digits at all fails.
// - byte sequence to integer, uinteger or time: big-endian value of at most
//   8 bytes (8 bytes 0xFF.. is integer -1); the empty sequence is 0.
// - ip address to integer: the address as a big-endian number; fails when
//   it needs more than 64 bits. To byte sequence: its raw bytes.
// - integer, uinteger, boolean, time to byte sequence: 8 (boolean: 1)
//   big-endian bytes.
// - integer or uinteger to ip address: the number added to the zero address
//   of the family the target subtype names; a subtype that names no family
//   fails. Byte sequence to ip address: 4 bytes IPv4, 16 bytes IPv6.
// - to ip address with subtype ipv4/ipv6: the address mapped into that
//   family; with any other subtype the address keeps its family. An IPv6
//   address that is not IPv4-mapped cannot become IPv4.
// - ip address to endpoint: port 0; endpoint to ip address: its address.
// - The subtype of an ip-address variant always names its family; other
//   types keep the requested subtype (ipv4/ipv6 on them becomes general).
//
// Text under a type hint (CVariant(hint, text)), always the whole text:
// - boolean: "true", "false", "1", "0" (any case).
// - integer: optional sign, then decimal, 0x-hexadecimal or 0-octal digits,
//   within signed 64 bits. uinteger: the same without "-", within 64 bits.
// - time: "YYYY-MM-DD HH:MM:SS", "YYYY-MM-DDTHH:MM:SSZ", the dateUTC form
//   "Thu Feb 29 13:05:09 2024" (all UTC), or a decimal count of seconds.
// - byte sequence: pairs of hex digits, all joined by "-", all by ":" or
//   with no separator; the empty text is the empty sequence.
// - ip address: standard IPv6 or dotted IPv4 text.
// - endpoint: "[2001:db8::1]:547", "192.0.2.1:67", or a bare address
//   ("[2001:db8::1]", "2001:db8::1", "192.0.2.1") meaning port 0. Host
//   names are never resolved.
// - string: the text as it is.
// - unknown: the type is deduced as below.
//
// Deducing the type of a text (deduce), first match wins:
//   1. empty text fails;
//   2. "..." or '...' -> string, without the quotes;
//   3. true / false (any case) -> boolean;
//   4. an integer as above -> integer, or uinteger when it fits only there;
//   5. IPv6 or IPv4 address text -> ip address;
//   6. "[addr]:port" or "a.b.c.d:port" -> ip endpoint;
//   7. two or more hex byte pairs joined by ":" or by "-" -> byte sequence
//      ("00:11:22:33:44:55"; note that eight pairs joined by ":" already
//      read as an IPv6 address in step 5);
//   8. a time in one of the text forms above (not a bare number) -> time;
//   9. anything else -> string, as it is.
//
// Operators: the right operand is first converted to the left operand's
// type and subtype; the result has the left operand's type. Integer and
// uinteger arithmetic wraps at 64 bits; division by zero fails. Ordering
// comparisons (< > <= >=) are defined for ip address, time, string, integer
// and uinteger and all report failures as 'less-than' (<); == and != work
// on every type but unknown. !, && and || use the boolean conversion of
// both (already computed) operands. Failures are nuv::CException.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "standard/CEndpoint.h"
#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"
#include "standard/CTimeT.h"
#include "standard/CVariantType.h"

namespace nuv {

class CVariant {
 public:
  using data_type = CVariantType::data_type;
  using data_subtype = CVariantSubType::data_subtype;

  // Unknown type.
  CVariant() = default;
  // Subtype follows the family; an unset address throws.
  CVariant(const CIPAddress& address);  // NOLINT: implicit by design (all slot types)
  CVariant(bool value) : m_value(std::in_place_index<CVariantType::dt_boolean>, value) {}
  CVariant(const CTimeT& value) : m_value(std::in_place_index<CVariantType::dt_time>, value) {}
  CVariant(std::string value, data_subtype subtype = CVariantSubType::dst_general);
  CVariant(std::string_view value) : CVariant(std::string(value)) {}
  CVariant(const char* value) : CVariant(std::string(value ? value : "")) {}
  CVariant(const CHexStore& value);
  CVariant(CHexStore&& value);
  CVariant(const CEndpoint& value)
      : m_value(std::in_place_index<CVariantType::dt_endpoint>, value) {}
  // Signed integral values are integers, unsigned ones uintegers.
  template <class N, std::enable_if_t<std::is_integral_v<N> && !std::is_same_v<N, bool>, int> = 0>
  CVariant(N n) {
    if constexpr (std::is_signed_v<N>)
      m_value.emplace<CVariantType::dt_integer>(static_cast<std::int64_t>(n));
    else
      m_value.emplace<CVariantType::dt_uinteger>(static_cast<std::uint64_t>(n));
  }
  // The empty value of a type: false, 0, time 0, "", no bytes, the zero
  // address (IPv4 for subtype ipv4, IPv6 otherwise), endpoint [::]:0.
  explicit CVariant(data_type type, data_subtype subtype = CVariantSubType::dst_general);
  // Parses text under a type hint (forms at the top of this file).
  CVariant(data_type hint, std::string_view text) { assign(hint, text); }

  // Replaces the value by text parsed under a type hint; on failure throws
  // and leaves the value unchanged.
  CVariant& assign(data_type hint, std::string_view text);
  // The value of a text whose type is deduced (rules at the top).
  static CVariant deduce(std::string_view text);

  data_type type() const;
  data_subtype subtype() const { return m_subtype; }
  bool valid() const { return type() != CVariantType::dt_unknown; }
  // The boolean conversion, so that `if (v)`, `!v` and `v && w` agree.
  explicit operator bool() const { return boolean(); }

  // Each returns the value converted to the requested type (the variant
  // itself is unchanged).
  bool boolean() const;
  std::int64_t integer() const;
  std::uint64_t uinteger() const;
  CTimeT time() const;
  CHexStore hexstore() const;
  CEndpoint endpoint() const;
  // subtype ipv4/ipv6 picks the family (needed for numbers); map false
  // keeps the family an address already has.
  CIPAddress ipaddress(data_subtype subtype = CVariantSubType::dst_general, bool map = true) const;
  // quoted: a string value comes in double quotes, so that deduce() reads
  // it back as a string.
  std::string string(bool quoted = false) const;

  // Converts in place; context names the operation in a failure.
  void convertTo(data_type type, data_subtype subtype = CVariantSubType::dst_general,
                 const char* context = "CVariant::convertTo");

  CVariant& operator+=(const CVariant& right);
  CVariant& operator-=(const CVariant& right);
  CVariant& operator*=(const CVariant& right);
  CVariant& operator/=(const CVariant& right);
  CVariant& operator&=(const CVariant& right);
  CVariant& operator|=(const CVariant& right);
  CVariant& operator^=(const CVariant& right);
  CVariant operator-() const;
  CVariant operator~() const;
  bool operator!() const { return !boolean(); }

  // Binary operators as free functions so that `1 + v` converts its left.
  friend CVariant operator+(CVariant l, const CVariant& r) { return l += r; }
  friend CVariant operator-(CVariant l, const CVariant& r) { return l -= r; }
  friend CVariant operator*(CVariant l, const CVariant& r) { return l *= r; }
  friend CVariant operator/(CVariant l, const CVariant& r) { return l /= r; }
  friend CVariant operator&(CVariant l, const CVariant& r) { return l &= r; }
  friend CVariant operator|(CVariant l, const CVariant& r) { return l |= r; }
  friend CVariant operator^(CVariant l, const CVariant& r) { return l ^= r; }
  // Both operands are converted (and may fail) before combining.
  friend bool operator&&(const CVariant& l, const CVariant& r) {
    const bool left = l.boolean();
    return r.boolean() && left;
  }
  friend bool operator||(const CVariant& l, const CVariant& r) {
    const bool left = l.boolean();
    return r.boolean() || left;
  }
  friend bool operator<(const CVariant& l, const CVariant& r) { return _compare(l, r, Op::lt) < 0; }
  friend bool operator>(const CVariant& l, const CVariant& r) { return _compare(l, r, Op::gt) > 0; }
  friend bool operator<=(const CVariant& l, const CVariant& r) {
    return _compare(l, r, Op::le) <= 0;
  }
  friend bool operator>=(const CVariant& l, const CVariant& r) {
    return _compare(l, r, Op::ge) >= 0;
  }
  friend bool operator==(const CVariant& l, const CVariant& r) {
    return _compare(l, r, Op::eq) == 0;
  }
  friend bool operator!=(const CVariant& l, const CVariant& r) {
    return _compare(l, r, Op::ne) != 0;
  }

 private:
  // Alternative index == data_type value.
  using HexPtr = std::shared_ptr<const CHexStore>;
  using Slot = std::variant<std::monostate, CIPAddress, bool, CTimeT, std::string, HexPtr,
                            std::int64_t, CEndpoint, std::uint64_t>;
  // Indexes the operator table in the .cpp.
  enum class Op : std::uint8_t {
    add,
    sub,
    mul,
    div,
    band,
    bor,
    bxor,
    lt,
    gt,
    le,
    ge,
    eq,
    ne,
    neg,
    inv
  };
  struct Converter;

  CVariant(Slot value, data_subtype subtype) : m_value(std::move(value)), m_subtype(subtype) {}
  CVariant _converted(data_type type, data_subtype subtype, const char* context) const;
  // Checks that op applies to this (left) operand's type.
  void _checkOperand(Op op) const;
  // The right operand as this one's type and subtype: right itself when it
  // already is, else a converted copy kept in tmp.
  const CVariant& _aligned(const CVariant& right, CVariant& tmp, Op op) const;
  CVariant& _arithmetic(const CVariant& right, Op op);
  // <0, 0, >0 for ordering ops; 0 or 1 (unequal) for equality ops.
  static int _compare(const CVariant& l, const CVariant& r, Op op);

  Slot m_value;
  data_subtype m_subtype = CVariantSubType::dst_general;
};

}  // namespace nuv
