#include "dhcp_base/CEndpointIO.h"

#include <cstring>

#include "dhcp_base/CDHCPContext.h"

std::size_t CEndpointIO::fixedSize(const COption& option) {
  return option.context()->family().value() == 4 ? 6 : 18;
}

void CEndpointIO::writeOne(std::uint8_t* out, const nuv::CEndpoint& v, const COption&) {
  const std::size_t n = v.address().raw_len();
  std::memcpy(out, v.address().raw(), n);
  writeSqueezed(out + n, v.port(), 2);
}

nuv::CEndpoint CEndpointIO::readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                                    COptionInputContext& ic) {
  if (n != 6 && n != 18) _tooShort(option, ic.messageStart(), p);
  return nuv::CEndpoint(nuv::CIPAddress(p, n - 2),
                        static_cast<std::uint16_t>(readBig(p + n - 2, 2)));
}

nuv::CEndpoint CEndpointIO::parse(const std::string& text, const COption& option) {
  std::optional<nuv::CEndpoint> e = nuv::CEndpoint::fromText(text);
  if (!e || !e->isValid())
    _fail("CEndpointIO::set", "Cannot serialize endpoint option %1 with value '%2'.",
          "Endpoint is not valid.", {option.label(), text});
  return *e;
}
