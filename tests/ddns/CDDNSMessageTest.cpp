#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "plugins/ddns/CDDNSMessage.h"
#include "standard/CException.h"
#include "tests/ddns/DDNSJobs.h"
#include "tests/fixtures/FailureOf.h"

namespace {

using Records = CDDNSJob::Records;
using Action = CDDNSJob::Action;
using Packet = std::unique_ptr<ldns_pkt, void (*)(ldns_pkt*)>;

constexpr const char* kReverseZone = "1.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa";
constexpr const char* kSecret = "c2VjcmV0c2VjcmV0c2VjcmV0c2VjcmV0";

struct Wire {
  std::vector<std::uint8_t> bytes;
};

Wire encode(const ldns_pkt* packet) {
  std::uint8_t* data = nullptr;
  std::size_t size = 0;
  EXPECT_EQ(ldns_pkt2wire(&data, packet, &size), LDNS_STATUS_OK);
  Wire wire{std::vector<std::uint8_t>(data, data + size)};
  std::free(data);
  return wire;
}

// The message as the DNS server reads it.
Packet decode(const Wire& wire) {
  ldns_pkt* packet = nullptr;
  EXPECT_EQ(ldns_wire2pkt(&packet, wire.bytes.data(), wire.bytes.size()), LDNS_STATUS_OK);
  return Packet(packet, ldns_pkt_free);
}

// A record in presentation form, blanks folded; no data shows as "\\# 0"
// (RFC 3597): "h.example.net. 0 ANY AAAA \\# 0".
std::string text(const ldns_rr* rr) {
  char* s = ldns_rr2str(rr);
  std::istringstream in(s ? s : "");
  std::free(s);
  std::string word, out;
  while (in >> word) out += (out.empty() ? "" : " ") + word;
  return out;
}

// The update section (the authority section in ldns), one line a record.
std::vector<std::string> updateSection(const ldns_pkt* packet) {
  std::vector<std::string> lines;
  const ldns_rr_list* list = ldns_pkt_authority(packet);
  for (std::size_t i = 0; i < ldns_rr_list_rr_count(list); ++i)
    lines.push_back(text(ldns_rr_list_rr(list, i)));
  return lines;
}

CDDNSUpdate twoAddresses(const char* zone, std::uint32_t ttl) {
  CDDNSUpdate u = ddnsUpdate("host1.example.net", zone);
  u.ttl = ttl;
  u.addresses.emplace_back("2001:db8:1::1ff");
  return u;
}

}  // namespace

TEST(CDDNSMessageTest, ReverseNamesAreNibblesUnderIp6Arpa) {
  const struct {
    const char* address;
    const char* name;
  } cases[] = {
      {"2001:db8:1::100",
       "0.0.1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.1.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"},
      {"2001:db8:1:0:fedc:ba98:7654:3210",
       "0.1.2.3.4.5.6.7.8.9.a.b.c.d.e.f.0.0.0.0.1.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa"},
      {"::1", "1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.ip6.arpa"},
      {"192.0.2.1", "1.2.0.192.in-addr.arpa"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CDDNSMessage::reverseName(nuv::CIPAddress(c.address)), c.name) << c.address;
}

TEST(CDDNSMessageTest, OnlyAnUnescapedFinalDotMakesANameAbsolute) {
  const struct {
    const char* name;
    const char* absolute;
  } cases[] = {
      {"host.example.com", "host.example.com."},
      {"host.example.com.", "host.example.com."},
      {"host\\.", "host\\.."},     // a dot ending its label
      {"host\\\\.", "host\\\\."},  // an escaped backslash, then the root's dot
      {"", "."},
  };
  for (const auto& c : cases) EXPECT_EQ(CDDNSMessage::absoluteName(c.name), c.absolute) << c.name;
}

TEST(CDDNSMessageTest, BuildsTheUpdateSectionOfEachJob) {
  const std::string ptr1 =
      "0.0.1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0." + std::string(kReverseZone) + ".";
  const std::string ptr2 =
      "f.f.1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0." + std::string(kReverseZone) + ".";
  CDDNSUpdate v4 = ddnsUpdate("host1.example.net", "example.net", "192.0.2.7");
  v4.addresses.emplace_back("2001:db8:1::100");
  const struct {
    const char* name;
    CDDNSJob job;
    const char* zone;
    std::vector<std::string> records;
  } cases[] = {
      {"forward add replaces the address records",
       ddnsJob(Records::forward, Action::add, twoAddresses("example.net", 300)),
       "example.net.",
       {"host1.example.net. 0 ANY AAAA \\# 0", "host1.example.net. 300 IN AAAA 2001:db8:1::100",
        "host1.example.net. 300 IN AAAA 2001:db8:1::1ff"}},
      {"a missing time to live is the default",
       ddnsJob(Records::forward, Action::add, twoAddresses("example.net", 0)),
       "example.net.",
       {"host1.example.net. 0 ANY AAAA \\# 0", "host1.example.net. 60 IN AAAA 2001:db8:1::100",
        "host1.example.net. 60 IN AAAA 2001:db8:1::1ff"}},
      {"an IPv4 address makes an A record",
       ddnsJob(Records::forward, Action::add, v4),
       "example.net.",
       {"host1.example.net. 0 ANY A \\# 0", "host1.example.net. 0 ANY AAAA \\# 0",
        "host1.example.net. 300 IN A 192.0.2.7", "host1.example.net. 300 IN AAAA 2001:db8:1::100"}},
      {"forward remove takes out exactly the addresses",
       ddnsJob(Records::forward, Action::remove, twoAddresses("example.net", 300)),
       "example.net.",
       {"host1.example.net. 0 NONE AAAA 2001:db8:1::100",
        "host1.example.net. 0 NONE AAAA 2001:db8:1::1ff"}},
      {"reverse add sets one PTR per address",
       ddnsJob(Records::reverse, Action::add, twoAddresses(kReverseZone, 300)),
       kReverseZone,
       {ptr1 + " 0 ANY PTR \\# 0", ptr1 + " 300 IN PTR host1.example.net.",
        ptr2 + " 0 ANY PTR \\# 0", ptr2 + " 300 IN PTR host1.example.net."}},
      {"reverse remove takes out the PTRs naming the client",
       ddnsJob(Records::reverse, Action::remove, twoAddresses(kReverseZone, 300)),
       kReverseZone,
       {ptr1 + " 0 NONE PTR host1.example.net.", ptr2 + " 0 NONE PTR host1.example.net."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CDDNSMessage message(c.job, 60);
    const Packet packet = decode(encode(message.packet()));
    EXPECT_EQ(ldns_pkt_get_opcode(packet.get()), LDNS_PACKET_UPDATE);
    EXPECT_FALSE(ldns_pkt_rd(packet.get()));
    ASSERT_EQ(ldns_rr_list_rr_count(ldns_pkt_question(packet.get())), 1u);
    EXPECT_EQ(
        text(ldns_rr_list_rr(ldns_pkt_question(packet.get()), 0)),
        std::string(c.zone) + (c.zone[std::strlen(c.zone) - 1] == '.' ? "" : ".") + " IN SOA");
    EXPECT_EQ(ldns_rr_list_rr_count(ldns_pkt_answer(packet.get())), 0u);  // no prerequisites
    EXPECT_EQ(updateSection(packet.get()), c.records);
  }
}

TEST(CDDNSMessageTest, RefusesUpdatesThatCannotBeRight) {
  const struct {
    const char* name;
    CDDNSJob job;
    const char* failure;
  } cases[] = {
      {"name outside the forward zone",
       ddnsJob(Records::forward, Action::add, ddnsUpdate("host1.example.org", "example.net")),
       "The name 'host1.example.org' is not in zone 'example.net'."},
      {"address outside the reverse zone",
       ddnsJob(Records::reverse, Action::add,
               ddnsUpdate("host1.example.net", kReverseZone, "2001:db8:2::1")),
       "is not in zone '1.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa'."},
      {"no addresses",
       ddnsJob(Records::forward, Action::remove,
               [] {
                 CDDNSUpdate u = ddnsUpdate();
                 u.addresses.clear();
                 return u;
               }()),
       "The update holds no addresses."},
      {"not a domain name",
       ddnsJob(Records::forward, Action::add, ddnsUpdate("host1..example.net")),
       "'host1..example.net' is not a domain name."},
      {"no zone", ddnsJob(Records::forward, Action::add, ddnsUpdate("host1.example.net", "")),
       "'' is not a domain name."},
  };
  for (const auto& c : cases) {
    const Failure f = failureOf([&] { CDDNSMessage message(c.job, 60); });
    EXPECT_EQ(f.what, "Cannot build the DNS update.") << c.name;
    EXPECT_NE(f.why.find(c.failure), std::string::npos) << c.name << ": " << f.why;
  }
}

TEST(CDDNSMessageTest, ASignedUpdateVerifiesWithTheKeyOnly) {
  CDDNSMessage message(ddnsJob(Records::forward, Action::add), 60);
  message.sign("ddns-key", kSecret);
  const Wire wire = encode(message.packet());
  const Packet packet = decode(wire);
  const ldns_rr* tsig = ldns_pkt_tsig(packet.get());
  ASSERT_NE(tsig, nullptr);
  EXPECT_EQ(text(tsig).rfind("ddns-key. 0 ANY TSIG hmac-sha256. ", 0), 0u) << text(tsig);
  EXPECT_TRUE(ldns_pkt_tsig_verify(packet.get(), wire.bytes.data(), wire.bytes.size(), "ddns-key.",
                                   kSecret, nullptr));
  EXPECT_FALSE(ldns_pkt_tsig_verify(packet.get(), wire.bytes.data(), wire.bytes.size(), "ddns-key.",
                                    "b3RoZXJvdGhlcm90aGVyb3RoZXI=", nullptr));
}

TEST(CDDNSMessageTest, ASecretThatIsNotBase64CannotSignAndIsNotRepeated) {
  CDDNSMessage message(ddnsJob(Records::forward, Action::add), 60);
  for (const char* secret : {"plain-secret!", ""}) {
    const Failure f = failureOf([&] { message.sign("ddns-key", secret); });
    EXPECT_EQ(f.what, "Cannot sign the DNS update with TSIG key 'ddns-key'.") << secret;
    EXPECT_EQ(f.why, "The key's secret is not base64 text.");
  }
  EXPECT_EQ(ldns_pkt_tsig(message.packet()), nullptr);
}
