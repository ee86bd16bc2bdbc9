#include "dhcp_base/CDHCP6MsgType.h"

#include "dhcp_base/NameTable.h"
#include "standard/CException.h"

namespace {
const char* const kNames[] = {"unknown",       "solicit",     "advertise",   "request",
                              "confirm",       "renew",       "rebind",      "reply",
                              "release",       "decline",     "reconfigure", "info-request",
                              "relay-forward", "relay-reply", "lease-query", "lease-query-reply"};
}  // namespace

CDHCP6MsgType::CDHCP6MsgType(std::uint8_t value) : m_value(value) {
  if (value >= sizeof kNames / sizeof kNames[0])
    NUV_THROW("CDHCP6MsgType::CDHCP6MsgType", nuv::CMessage("Cannot set dhcpv6 message type."),
              nuv::CMessage("Invalid dhcpv6 message value '%1'.").push(value));
}

CDHCP6MsgType& CDHCP6MsgType::operator=(std::string_view name) {
  const auto v = nametable::value(kNames, name, solicit);
  if (!v)
    NUV_THROW("CDHCP6MsgType::operator=", nuv::CMessage("Cannot set dhcpv6 message type."),
              nuv::CMessage("Invalid value '%1'.").pushs(name));
  m_value = static_cast<std::uint8_t>(*v);
  return *this;
}

std::string CDHCP6MsgType::string() const {
  const char* n = nametable::name(kNames, m_value);
  return n ? n : std::to_string(m_value);
}
