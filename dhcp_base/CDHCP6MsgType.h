#pragma once
// A DHCPv6 message type: one byte, 0 to 15. Constructing from a larger
// byte fails, so a stored value always has a name.

#include <cstdint>
#include <string>
#include <string_view>

class CDHCP6MsgType {
 public:
  enum value_type : std::uint8_t {
    unknown = 0,
    solicit = 1,
    advertise = 2,
    request = 3,
    confirm = 4,
    renew = 5,
    rebind = 6,
    reply = 7,
    release = 8,
    decline = 9,
    reconfigure = 10,
    info_request = 11,
    relay_forward = 12,
    relay_reply = 13,
    lease_query = 14,
    lease_query_reply = 15,
  };

  CDHCP6MsgType() = default;
  // Fails "Cannot set dhcpv6 message type." for 16 and above.
  CDHCP6MsgType(std::uint8_t value);  // NOLINT: implicit by design
  // The names of 1 to 15 in any case ("Relay-Forward" is 12); "unknown"
  // and anything else fail.
  CDHCP6MsgType& operator=(std::string_view name);

  std::uint8_t value() const { return m_value; }
  operator std::uint8_t() const { return m_value; }  // NOLINT: implicit by design
  bool isRelay() const { return m_value == relay_forward || m_value == relay_reply; }
  // "solicit", "info-request", ...; a value without a name as its number.
  std::string string() const;

 private:
  std::uint8_t m_value = unknown;
};
