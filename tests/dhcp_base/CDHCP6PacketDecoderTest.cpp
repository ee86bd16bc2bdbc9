// Our replies as an independent decoder reads them: each reply goes into a
// capture file as an IPv6/UDP datagram and tshark dissects the lot; any
// malformed packet or error-level expert message fails the test, and the
// fields tshark reports must be the ones we wrote.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "../fixtures/TempPath.h"
#include "PacketFixture.h"

using namespace packettest;

namespace {

struct Datagram {
  nuv::CIPAddress src;
  nuv::CIPAddress dst;
  std::uint16_t srcPort;
  std::uint16_t dstPort;
  std::vector<std::uint8_t> payload;
};

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

// An IPv6 header and a UDP header with its (mandatory) checksum.
std::vector<std::uint8_t> ipv6Udp(const Datagram& d) {
  const std::size_t udpLength = 8 + d.payload.size();
  std::vector<std::uint8_t> udp;
  put16(udp, d.srcPort);
  put16(udp, d.dstPort);
  put16(udp, static_cast<std::uint32_t>(udpLength));
  put16(udp, 0);
  udp.insert(udp.end(), d.payload.begin(), d.payload.end());

  std::uint32_t sum = 17 + static_cast<std::uint32_t>(udpLength);
  auto add = [&sum](const std::uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; i += 2) sum += (p[i] << 8) | (i + 1 < n ? p[i + 1] : 0);
  };
  add(d.src.raw(), 16);
  add(d.dst.raw(), 16);
  add(udp.data(), udp.size());
  while (sum >> 16) sum = (sum & 0xffff) + (sum >> 16);
  const std::uint16_t check =
      static_cast<std::uint16_t>(~sum) ? static_cast<std::uint16_t>(~sum) : 0xffff;
  udp[6] = static_cast<std::uint8_t>(check >> 8);
  udp[7] = static_cast<std::uint8_t>(check);

  std::vector<std::uint8_t> ip = {0x60, 0, 0, 0};
  put16(ip, static_cast<std::uint32_t>(udpLength));
  ip.push_back(17);  // UDP
  ip.push_back(64);
  ip.insert(ip.end(), d.src.raw(), d.src.raw() + 16);
  ip.insert(ip.end(), d.dst.raw(), d.dst.raw() + 16);
  ip.insert(ip.end(), udp.begin(), udp.end());
  return ip;
}

// A classic pcap file of raw IP packets (link type 101).
void writePcap(const std::string& path, const std::vector<Datagram>& datagrams) {
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&out](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&out](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  u32(0xa1b2c3d4);
  u16(2);
  u16(4);
  u32(0);
  u32(0);
  u32(65535);
  u32(101);
  std::uint32_t second = 1700000000;
  for (const Datagram& d : datagrams) {
    const std::vector<std::uint8_t> packet = ipv6Udp(d);
    u32(second++);
    u32(0);
    u32(static_cast<std::uint32_t>(packet.size()));
    u32(static_cast<std::uint32_t>(packet.size()));
    out.write(reinterpret_cast<const char*>(packet.data()),
              static_cast<std::streamsize>(packet.size()));
  }
}

std::string run(const std::string& command) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  ::pclose(p);
  return out;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// tshark's dissection of each datagram, one text per frame.
std::vector<std::string> dissect(const std::vector<Datagram>& datagrams) {
  const std::string path = tempPath("framing.pcap");
  writePcap(path, datagrams);
  const std::string text = run("tshark -n -r " + path + " -V -o udp.check_checksum:TRUE 2>&1");
  std::remove(path.c_str());
  std::vector<std::string> frames;
  for (std::size_t at = text.find("Frame "); at != std::string::npos;) {
    const std::size_t next = text.find("\nFrame ", at);
    frames.push_back(text.substr(at, next == std::string::npos ? std::string::npos : next - at));
    at = next == std::string::npos ? next : next + 1;
  }
  EXPECT_EQ(frames.size(), datagrams.size()) << text;
  return frames;
}

class CDHCP6PacketDecoderTest : public PacketFixture {
 protected:
  void SetUp() override {
    PacketFixture::SetUp();
    if (run("command -v tshark").empty()) FAIL() << "tshark is needed to check our replies";
  }
  void expectClean(const std::string& frame) {
    EXPECT_EQ(frame.find("Malformed"), std::string::npos) << frame;
    EXPECT_EQ(frame.find("Expert Info (Error"), std::string::npos) << frame;
    EXPECT_EQ(frame.find("[Checksum Status: Bad]"), std::string::npos) << frame;
  }
  const nuv::CIPAddress server{"2001:db8::547"};
  const nuv::CIPAddress client{"fe80::211:22ff:fe33:4455"};
  const nuv::CIPAddress relay{"2001:db8:ffff::1"};
};

}  // namespace

TEST_F(CDHCP6PacketDecoderTest, RepliesDecodeCleanly) {
  std::vector<Datagram> datagrams;

  // An Advertise with an address and a prefix, sent to the client.
  parseServer(datagram("solicit"));
  startReply(CDHCP6MsgType::advertise);
  addLeases();
  datagrams.push_back({server, client, 547, 546, serialise(reply)});

  // A Reply refusing everything, with a top-level status code.
  request.clear();
  reply.clear();
  parseServer(datagram("request"));
  startReply(CDHCP6MsgType::reply);
  CDHCP6Util::addStatusCode(reply.hostOptions(), CDHCP6StatusCode::no_addrs_avail);
  COptionPtr pd = CDHCP6Util::createMinimalIA(CIAType::iapd, 0x11223344, reply.hostOptions());
  CDHCP6Util::addStatusCode(pd, CDHCP6StatusCode::no_prefix_avail);
  datagrams.push_back({server, client, 547, 546, serialise(reply)});

  // The doubly relayed Solicit answered through both relays.
  request.clear();
  reply.clear();
  parseServer(datagram("relay2_solicit"));
  startReply(CDHCP6MsgType::reply);
  addLeases();
  datagrams.push_back({server, relay, 547, 547, serialise(reply)});

  const std::vector<std::string> frames = dissect(datagrams);
  ASSERT_EQ(frames.size(), 3u);
  for (const std::string& f : frames) expectClean(f);

  const std::string& advertise = frames[0];
  EXPECT_NE(advertise.find("Message type: Advertise (2)"), std::string::npos) << advertise;
  EXPECT_NE(advertise.find("Transaction ID: 0x123456"), std::string::npos) << advertise;
  EXPECT_NE(advertise.find("IAID: 0a0b0c0d"), std::string::npos) << advertise;
  EXPECT_NE(advertise.find("T1: 1800"), std::string::npos) << advertise;
  EXPECT_NE(advertise.find("T2: 2880"), std::string::npos) << advertise;
  EXPECT_NE(advertise.find("IPv6 address: 2001:db8:1::100"), std::string::npos) << advertise;
  EXPECT_NE(advertise.find("Prefix length: 56"), std::string::npos) << advertise;
  EXPECT_NE(advertise.find("Prefix address: 2001:db8:100::"), std::string::npos) << advertise;
  EXPECT_NE(advertise.find("Status Code: Success (0)"), std::string::npos) << advertise;

  const std::string& refusal = frames[1];
  EXPECT_NE(refusal.find("Status Code: NoAddrAvail (2)"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("Status Code: NoPrefixAvail (6)"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("Status Message: no_prefix_avail"), std::string::npos) << refusal;

  const std::string& relayed = frames[2];
  EXPECT_EQ(occurrences(relayed, "Message type: Relay-reply (13)"), 2u) << relayed;
  EXPECT_EQ(occurrences(relayed, "Message type: Reply (7)"), 1u) << relayed;
  EXPECT_NE(relayed.find("Hopcount: 1"), std::string::npos) << relayed;
  EXPECT_NE(relayed.find("Interface-ID: 75706c696e6b2d37"), std::string::npos) << relayed;
  EXPECT_NE(relayed.find("Interface-ID: 657468302f31"), std::string::npos) << relayed;
  EXPECT_NE(relayed.find("Peer address: fe80::211:22ff:fe33:4455"), std::string::npos) << relayed;
  EXPECT_NE(relayed.find("IAID: 11223344"), std::string::npos) << relayed;
}
