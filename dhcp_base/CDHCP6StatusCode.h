#pragma once
// A DHCPv6 status code (the first field of the Status Code option). Any
// 16-bit value may be held; the known ones have names.

#include <cstdint>
#include <string>

class CDHCP6StatusCode {
 public:
  enum value_type : std::uint16_t {
    success = 0,
    unspec_fail = 1,
    no_addrs_avail = 2,
    no_binding = 3,
    not_on_link = 4,
    use_multicast = 5,
    no_prefix_avail = 6,
    lq_unknown_query_type = 7,
    lq_malformed_query = 8,
    lq_not_configured = 9,
    lq_not_allowed = 10,
  };

  CDHCP6StatusCode() = default;
  CDHCP6StatusCode(std::uint16_t value) : m_value(value) {}  // NOLINT: implicit by design

  std::uint16_t value() const { return m_value; }
  operator std::uint16_t() const { return m_value; }  // NOLINT: implicit by design
  // "success", "no_addrs_avail", ...; any other value as its number.
  std::string string() const;

 private:
  std::uint16_t m_value = success;
};
