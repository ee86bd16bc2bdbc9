// Which DNS updates a client's policies and Client FQDN option call for,
// and the flag rules of the FQDN option.
#include "dhcp_server_common/CDDNSDataFinder.h"
#include "tests/dhcp_server_common/DDNSFixture.h"

namespace {

struct Answer {
  bool update = false;
  std::string name, zone, server;
  std::uint32_t ttl = 0;
  bool authoritative = false;
};

struct CDDNSDataFinderTest : DDNSFixture {
  Answer ask(bool forward, const Settings& settings, std::uint8_t mode, const COptionPtr& client) {
    const CDDNSDataFinder finder(context, policies(settings));
    Answer a;
    nuv::CEndpoint server;
    a.update = forward ? finder.forwardUpdateData(mode, client, a.name, a.zone, a.ttl, server,
                                                  a.authoritative)
                       : finder.reverseUpdateData(mode, client, a.name, a.zone, a.ttl, server,
                                                  a.authoritative);
    a.server = server.isValid() ? server.string() : "-";
    return a;
  }
};

const std::uint32_t kServer = 100006, kForward = 100007, kReverse = 100008, kTTL = 100009,
                    kHost = 100011, kAuthoritative = 100012;
const char* const kReverseZone = "1.0.0.8.b.d.0.1.0.0.2.ip6.arpa";

}  // namespace

TEST_F(CDDNSDataFinderTest, TheModeAndTheClientsNameDecideWhatIsUpdated) {
  const Settings reverseZone{{kReverse, kReverseZone}};
  const Settings bothZones{{kForward, "example.org"}, {kReverse, kReverseZone}};
  const Settings generated{{kHost, "dyn"}, {kForward, "example.org"}, {kReverse, kReverseZone}};
  const struct {
    const char* what;
    Settings settings;
    std::uint8_t mode;
    std::uint8_t flags;
    const char* name;  // of the client; nullptr: no Client FQDN option
    bool forward;
    const char* forwardName;
    const char* forwardZone;
    bool reverse;
    const char* reverseZone;
    const char* line;  // logged, or ""
  } cases[] = {
      {"full name, S set",
       {},
       1,
       0x01,
       "host1.example.net.",
       true,
       "host1",
       "example.net",
       false,
       "",
       "No reverse update zone option is defined."},
      {"full name, S set, reverse zone", reverseZone, 1, 0x01, "host1.example.net.", true, "host1",
       "example.net", true, kReverseZone, ""},
      {"host label only, no forward zone", reverseZone, 1, 0x01, "host1", false, "", "", true,
       kReverseZone,
       "Cannot perform forward (A/AAAA) DDNS update. Client supplied a host name only, and no "
       "forward update zone option is defined."},
      {"host label only, forward zone", bothZones, 1, 0x01, "host1", true, "host1", "example.org",
       true, kReverseZone, ""},
      {"S clear: the client updates its AAAA", reverseZone, 1, 0x00, "host1.example.net.", false,
       "", "", true, kReverseZone, ""},
      {"no name", bothZones, 1, 0x01, "", false, "", "", false, "",
       "Cannot perform DDNS update using client FQDN. The client has not provided a host name."},
      {"no Client FQDN option", bothZones, 1, 0x01, nullptr, false, "", "", false, "",
       "The client has not provided a host name."},
      {"mode 0", bothZones, 0, 0x01, "host1.example.net.", false, "", "", false, "", ""},
      {"generated", generated, 2, 0x00, nullptr, true, "dyn", "example.org", true, kReverseZone,
       ""},
      {"generated, no host name", bothZones, 2, 0x00, nullptr, false, "", "", false, "",
       "Cannot perform autogen DDNS update. No hostname option is defined."},
      {"generated, no forward zone",
       {{kHost, "dyn"}, {kReverse, kReverseZone}},
       2,
       0x00,
       nullptr,
       false,
       "",
       "",
       true,
       kReverseZone,
       "Cannot perform autogen DDNS update. No forward update zone option is defined."},
      {"generated, no reverse zone",
       {{kHost, "dyn"}, {kForward, "example.org"}},
       2,
       0x00,
       nullptr,
       true,
       "dyn",
       "example.org",
       false,
       "",
       "Cannot perform autogen DDNS update. No reverse update zone option is defined."},
      {"unknown mode", bothZones, 7, 0x01, "host1.example.net.", false, "", "", false, "",
       "error: Cannot perform forward (A/AAAA) DDNS update. Unknown DDNS update mode '7'."},
      {"unknown mode, reverse", bothZones, 7, 0x01, "host1.example.net.", false, "", "", false, "",
       "error: Cannot perform reverse (PTR) DDNS update. Unknown DDNS update mode '7'."},
  };
  for (const auto& c : cases) {
    host.logSink.lines.clear();
    const COptionPtr client = c.name ? fqdn(c.flags, c.name) : nullptr;
    const Answer f = ask(true, c.settings, c.mode, client);
    const Answer r = ask(false, c.settings, c.mode, client);
    EXPECT_EQ(f.update, c.forward) << c.what;
    EXPECT_EQ(r.update, c.reverse) << c.what;
    if (c.forward) {
      EXPECT_EQ(f.name, c.forwardName) << c.what;
      EXPECT_EQ(f.zone, c.forwardZone) << c.what;
    }
    if (c.reverse) {
      EXPECT_EQ(r.zone, c.reverseZone) << c.what;
    }
    if (*c.line) {
      EXPECT_TRUE(logged(c.line)) << c.what << "\n" << host.logSink.text();
    }
  }
}

TEST_F(CDDNSDataFinderTest, ServerTTLAndAuthorityComeFromThePolicies) {
  const COptionPtr client = fqdn(0x01, "host1.example.net.");
  const struct {
    const char* what;
    Settings settings;
    const char* server;
    std::uint32_t ttl;
    bool authoritative;
  } cases[] = {
      {"port 0 means the DNS port",
       {{kServer, "[2001:db8::53]:0"}},
       "[2001:db8::53]:53",
       3600,
       false},
      {"a port of its own is kept",
       {{kServer, "[2001:db8::53]:5353"}},
       "[2001:db8::53]:5353",
       3600,
       false},
      {"TTL and authority", {{kTTL, "300"}, {kAuthoritative, "true"}}, "-", 300, true},
  };
  for (const auto& c : cases) {
    const Answer a = ask(true, c.settings, 1, client);
    EXPECT_TRUE(a.update) << c.what;
    EXPECT_EQ(a.server, c.server) << c.what;
    EXPECT_EQ(a.ttl, c.ttl) << c.what;
    EXPECT_EQ(a.authoritative, c.authoritative) << c.what;
  }
}

TEST_F(CDDNSDataFinderTest, FlagRules) {
  const struct {
    std::uint8_t flags;
    bool s;
    std::uint8_t expected;
  } sCases[] = {
      {0x00, true, 0x03},   // the server takes the update the client left to itself
      {0x01, true, 0x01},   // as asked
      {0x01, false, 0x02},  // refused: overridden
      {0x00, false, 0x00}, {0x04, false, 0x04},  // N is not S's business
  };
  for (const auto& c : sCases) {
    std::uint8_t flags = c.flags;
    CDDNSDataFinder::setSFlag(flags, c.s);
    EXPECT_EQ(flags, c.expected) << int(c.flags) << " " << c.s;
  }
  EXPECT_TRUE(CDDNSDataFinder::sFlagSet(0x03));
  EXPECT_FALSE(CDDNSDataFinder::sFlagSet(0x06));

  std::uint8_t flags = 0x01;
  CDDNSDataFinder::setNFlag(context, flags, true);
  EXPECT_EQ(flags, 0x05);
  CDDNSDataFinder::setNFlag(context, flags, false);
  EXPECT_EQ(flags, 0x01);
  // DHCPv4 keeps N one bit higher.
  const CDDNSTestContext v4(&host, 4);
  flags = 0x00;
  CDDNSDataFinder::setNFlag(v4, flags, true);
  EXPECT_EQ(flags, 0x08);
  EXPECT_EQ(CDDNSDataFinder::fqdnDomainTag(v4), 4u);
  EXPECT_EQ(CDDNSDataFinder::updateServerTag(v4), 1019u);
}
