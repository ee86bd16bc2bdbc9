#pragma once
// "ip_endpoint": the address bytes, then the port in 2 bytes.

#include "dhcp_base/CLeafIO.h"
#include "standard/CEndpoint.h"

class CEndpointIO : public CLeafIO<CEndpointIO, nuv::CEndpoint> {
 public:
  static constexpr const char* kTypeName = "CEndpointOption";
  static constexpr bool kQuoted = true;

  static std::size_t fixedSize(const COption& option);
  static std::size_t size(const nuv::CEndpoint& v, const COption&) {
    return v.address().raw_len() + 2;
  }
  static void writeOne(std::uint8_t* out, const nuv::CEndpoint& v, const COption&);
  static nuv::CEndpoint readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                                COptionInputContext& ic);
  static std::string format(const nuv::CEndpoint& v, const COption&) { return v.string(); }
  static nuv::CEndpoint parse(const std::string& text, const COption& option);
};
