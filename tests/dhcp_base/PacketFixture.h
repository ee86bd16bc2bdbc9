#pragma once
// Shared by the framing tests: the catalogue, a request and a reply packet,
// the scapy-made datagrams, and a reply built the way the handler and a
// processor build one.

#include <cstdint>
#include <string>
#include <vector>

#include "OptionFixture.h"
#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_base/CDHCP6Packet.h"
#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_base/CValueTypeInserter.h"

namespace packettest {

using namespace optiontest;
using Code = CDHCP6OptionCode;

const nuv::CIPAddress kMulticast("ff02::1:2");
const nuv::CHexStore kServerDUID =
    nuv::CHexStore::parse("00-01-00-01-01-02-03-04-00-AA-BB-CC-DD-EE");

struct Tlv {
  std::uint32_t code;
  std::size_t offset;  // of the header
  std::size_t length;
};

// The options in b[from, to).
inline std::vector<Tlv> tlvs(const std::vector<std::uint8_t>& b, std::size_t from, std::size_t to) {
  std::vector<Tlv> out;
  while (from + 4 <= to) {
    const std::size_t len = (b[from + 2] << 8) | b[from + 3];
    out.push_back({static_cast<std::uint32_t>((b[from] << 8) | b[from + 1]), from, len});
    from += 4 + len;
  }
  EXPECT_EQ(from, to) << "options do not end where the message ends";
  return out;
}

class PacketFixture : public OptionFixture {
 protected:
  void SetUp() override { loadCatalogue(); }

  // The scapy datagram of a case.
  static std::vector<std::uint8_t> datagram(const std::string& name) {
    static const std::map<std::string, std::string> all = scapyBytes("framing_packets.txt");
    auto it = all.find(name);
    EXPECT_NE(it, all.end()) << name;
    return it == all.end() ? std::vector<std::uint8_t>() : bytes(it->second);
  }
  void parseServer(const std::vector<std::uint8_t>& d,
                   const nuv::CIPAddress& destination = kMulticast) {
    request.serverSetFromRaw(d.data(), d.size(), destination);
  }

  // What the handler and a processor put into a reply: the relay path, the
  // transaction-id, our Server Identifier, the client's identifier, the
  // message type, and (with leases) an IA_NA with an address, an IA_PD
  // with a prefix, or top-level NoAddrsAvail.
  void startReply(CDHCP6MsgType type) {
    CDHCP6Util::startReply(request, reply, kServerDUID);
    reply.msgType(type);
    CDHCP6Util::cloneAndStoreOptional(Code::clientID, request.hostOptions(), reply.hostOptions());
  }
  void addLeases() {
    COptionPtr na = CDHCP6Util::createMinimalIA(CIAType::iana, 0x0a0b0c0d, reply.hostOptions());
    CDHCP6Util::setT1T2(na, 3600);
    CDHCP6Util::addIAADDR(na, nuv::CIPAddress("2001:db8:1::100"), 3600, 7200);
    CDHCP6Util::addStatusCode(na, CDHCP6StatusCode::success);
    COptionPtr pd = CDHCP6Util::createMinimalIA(CIAType::iapd, 0x11223344, reply.hostOptions());
    CDHCP6Util::setT1T2(pd, 7200);
    CDHCP6Util::addIAPrefix(pd, nuv::CIPAddress("2001:db8:100::"), 56, 7200, 14400);
  }
  std::vector<std::uint8_t> serialise(CDHCP6Packet& packet) {
    std::size_t size = 0;
    const std::uint8_t* p = packet.rawServerPacket(size);
    return std::vector<std::uint8_t>(p, p + size);
  }

  CDHCP6Packet request{&ctx, "in"};
  CDHCP6Packet reply{&ctx, "out"};
};

}  // namespace packettest
