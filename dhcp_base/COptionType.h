#pragma once
// The value type of an option: one concrete storage class and codec each.
// The numbers are stored in definitions and databases, so they never change.

#include <cstdint>
#include <string>
#include <string_view>

class COptionType {
 public:
  enum option_type : std::uint8_t {
    ot_8bit = 0,
    ot_16bit = 1,
    ot_24bit = 2,
    ot_32bit = 3,
    ot_64bit = 4,
    ot_128bit = 5,  // no storage class; cannot be created
    ot_string = 6,
    ot_ipaddress = 7,
    ot_boolean = 8,
    ot_time = 9,
    ot_byte_sequence = 10,
    ot_subencoded = 11,
    ot_topencoded = 12,
    ot_dnsname = 13,
    ot_expression = 14,
    ot_control = 15,
    ot_fixed_offset = 16,
    ot_snmp_oid = 17,
    ot_ip_endpoint = 18,
    ot_unknown = 19,  // also the wildcard "any type" in lookups
  };
  static constexpr unsigned kCount = 20;

  COptionType() = default;
  COptionType(option_type type) : m_type(type) {}  // NOLINT: implicit by design
  // Accepts the names and their aliases ("ipaddr", "bytes", "subenc", ...);
  // throws "Cannot serialize option type." for anything else.
  explicit COptionType(std::string_view text) { set(text); }

  void set(std::string_view text);
  option_type get() const { return m_type; }
  operator option_type() const { return m_type; }  // NOLINT: implicit by design

  const char* string() const { return string(m_type); }
  static const char* string(unsigned type);

  bool numeric() const { return m_type <= ot_128bit; }
  // Holds child options.
  bool container() const {
    return m_type == ot_subencoded || m_type == ot_topencoded || m_type == ot_fixed_offset;
  }

 private:
  option_type m_type = ot_unknown;
};
