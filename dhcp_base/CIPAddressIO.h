#pragma once
// "ipaddress": the address bytes, 16 in the IPv6 family and 4 in IPv4.

#include "dhcp_base/CLeafIO.h"
#include "standard/CIPAddress.h"

class CIPAddressIO : public CLeafIO<CIPAddressIO, nuv::CIPAddress> {
 public:
  static constexpr const char* kTypeName = "CIPAddressOption";
  static constexpr bool kQuoted = true;

  static std::size_t fixedSize(const COption& option);
  static std::size_t size(const nuv::CIPAddress& v, const COption&) { return v.raw_len(); }
  static void writeOne(std::uint8_t* out, const nuv::CIPAddress& v, const COption&);
  static nuv::CIPAddress readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                                 COptionInputContext& ic);
  static std::string format(const nuv::CIPAddress& v, const COption&) { return v.string(); }
  static nuv::CIPAddress parse(const std::string& text, const COption& option);
};
