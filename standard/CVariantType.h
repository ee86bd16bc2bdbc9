#pragma once
// The type and subtype tags of a CVariant. The numeric values are stored and
// exchanged (expression tokens, option codecs), so they never change.

#include <cstdint>

#include "standard/CIPAddress.h"

namespace nuv {

class CVariantType {
 public:
  enum data_type : std::uint8_t {
    dt_unknown = 0,
    dt_ipaddress = 1,
    dt_boolean = 2,
    dt_time = 3,
    dt_string = 4,
    dt_hexstore = 5,  // "byte sequence"
    dt_integer = 6,   // signed 64-bit
    dt_endpoint = 7,
    dt_uinteger = 8,  // unsigned 64-bit
  };
  static constexpr unsigned kLast = dt_uinteger;

  CVariantType() = default;
  CVariantType(data_type type) : m_type(type) {
    _checkValidity(type);
  }  // NOLINT: implicit by design
  // Throws for a value outside the type set.
  void set(unsigned value) {
    _checkValidity(value);
    m_type = static_cast<data_type>(value);
  }
  data_type get() const { return m_type; }
  operator data_type() const { return m_type; }  // NOLINT: implicit by design

  const char* string() const { return string(m_type); }
  // The name messages print ("ip address", "byte sequence", ...); "unknown"
  // for a value outside the set.
  static const char* string(unsigned type);
  // The word used in "Cannot perform ... on <word> values.".
  static const char* operandWord(unsigned type);

 private:
  static void _checkValidity(unsigned value);

  data_type m_type = dt_unknown;
};

class CVariantSubType {
 public:
  enum data_subtype : std::uint8_t {
    dst_general = 0,
    dst_function_name = 1,  // a string naming an expression function
    dst_reserved_word = 2,  // a string naming a reserved word
    dst_ipv4 = 3,           // an IPv4 ip address value
    dst_ipv6 = 4,           // an IPv6 ip address value
  };

  CVariantSubType() = default;
  CVariantSubType(data_subtype subtype) : m_subtype(subtype) {}  // NOLINT: implicit by design
  data_subtype get() const { return m_subtype; }
  operator data_subtype() const { return m_subtype; }  // NOLINT: implicit by design

  const char* string() const { return string(m_subtype); }
  static const char* string(unsigned subtype);

  static bool isAddressFamily(unsigned subtype) {
    return subtype == dst_ipv4 || subtype == dst_ipv6;
  }
  // dst_ipv4 -> ipv4, dst_ipv6 -> ipv6; any other subtype throws.
  static CIPAddress::addr_type toAddrType(unsigned subtype);
  // ipv4 -> dst_ipv4, ipv6 -> dst_ipv6; an address of no family throws.
  static data_subtype fromAddrType(CIPAddress::addr_type type);

 private:
  data_subtype m_subtype = dst_general;
};

}  // namespace nuv
