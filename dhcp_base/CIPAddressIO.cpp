#include "dhcp_base/CIPAddressIO.h"

#include <cstring>

#include "dhcp_base/CDHCPContext.h"

std::size_t CIPAddressIO::fixedSize(const COption& option) {
  return option.context()->family().value() == 4 ? 4 : 16;
}

void CIPAddressIO::writeOne(std::uint8_t* out, const nuv::CIPAddress& v, const COption&) {
  std::memcpy(out, v.raw(), v.raw_len());
}

nuv::CIPAddress CIPAddressIO::readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                                      COptionInputContext& ic) {
  if (n != 4 && n != 16) _tooShort(option, ic.messageStart(), p);
  return nuv::CIPAddress(p, n);
}

nuv::CIPAddress CIPAddressIO::parse(const std::string& text, const COption& option) {
  std::optional<nuv::CIPAddress> a = nuv::CIPAddress::fromText(text);
  if (!a)
    _fail("CIPAddressIO::set", "Cannot set address '%1' for option %2.", "Invalid address.",
          {text, option.label()});
  // The wire holds addresses of the context's family only.
  const bool v4 = option.context() && option.context()->family().value() == 4;
  if (a->type() != (v4 ? nuv::CIPAddress::ipv4 : nuv::CIPAddress::ipv6))
    _fail("CIPAddressIO::set", "Cannot set address '%1' for option %2.",
          v4 ? "Not an IPv4 address." : "Not an IPv6 address.", {text, option.label()});
  return *a;
}
