#pragma once
// What the server needs to know about DHCPv6 as a protocol: header widths,
// the highest option code, the address kind of its messages, and an empty
// message to start from.

#include <cstdint>
#include <memory>
#include <string>

#include "standard/CIPAddress.h"

class CDHCPContext;
class CDHCP6Packet;

class CDHCP6Attributes {
 public:
  unsigned tagWidth() const { return m_tagWidth; }
  void tagWidth(unsigned width) { m_tagWidth = width; }
  unsigned lenWidth() const { return 2; }
  unsigned msgTypeWidth() const { return 1; }
  std::uint32_t tagEnd() const { return 65535; }
  // The unspecified IPv6 address (::).
  nuv::CIPAddress prototypeIPAddr() const { return nuv::CIPAddress(nuv::CIPAddress::ipv6); }
  // An empty message made with context's factory.
  std::shared_ptr<CDHCP6Packet> prototypePkt(CDHCPContext* context,
                                             std::string instanceName = "packet") const;

 private:
  unsigned m_tagWidth = 2;
};
