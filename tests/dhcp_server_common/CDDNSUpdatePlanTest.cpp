// The update records one message hands to the DDNS service: one name for a
// client's own FQDN, one per address for generated names, and a reverse
// update only when its PTR can point at an absolute name.
#include "dhcp_server_common/CDDNSUpdatePlan.h"
#include "tests/dhcp_server_common/DDNSFixture.h"

namespace {

struct CDDNSUpdatePlanTest : DDNSFixture {
  // "fqdn zone address..." per update, forward ones first, "|" between.
  std::string updates(const Settings& settings, std::uint8_t mode, const COptionPtr& client) {
    const CDDNSUpdatePlan plan(context, policies(settings), mode, client);
    const std::vector<nuv::CIPAddress> addresses{nuv::CIPAddress("2001:db8:1::10"),
                                                 nuv::CIPAddress("2001:db8:1::11")};
    std::string out;
    for (bool forward : {true, false}) {
      out += forward ? "F:" : " R:";
      for (const CDDNSUpdate& u : plan.updates(addresses, forward)) {
        out += " " + u.fqdn + " " + u.zone;
        for (const auto& a : u.addresses) out += " " + a.string();
        out += ";";
      }
    }
    return out;
  }
};

const char* const kReverseZone = "1.0.0.8.b.d.0.1.0.0.2.ip6.arpa";

}  // namespace

TEST_F(CDDNSUpdatePlanTest, NamesAndUpdatesPerMode) {
  const Settings all{{100011, "dyn"}, {100007, "example.org"}, {100008, kReverseZone}};
  const Settings reverseOnly{{100008, kReverseZone}};
  const struct {
    const char* what;
    Settings settings;
    std::uint8_t mode;
    std::uint8_t flags;
    const char* name;
    std::string expected;
  } cases[] = {
      {"the client's name, both updates", all, 1, 0x01, "host1.example.net.",
       "F: host1.example.net example.net 2001:db8:1::10 2001:db8:1::11; R: host1.example.net " +
           std::string(kReverseZone) + " 2001:db8:1::10 2001:db8:1::11;"},
      {"S clear: the PTR still points at the client's full name", reverseOnly, 1, 0x00,
       "host1.example.net.",
       "F: R: host1.example.net " + std::string(kReverseZone) + " 2001:db8:1::10 2001:db8:1::11;"},
      {"S clear, a bare label and no forward zone: no absolute name, nothing", reverseOnly, 1, 0x00,
       "host1", "F: R:"},
      {"S clear, a bare label completed by the forward zone", all, 1, 0x00, "host1",
       "F: R: host1.example.org " + std::string(kReverseZone) + " 2001:db8:1::10 2001:db8:1::11;"},
      {"a dot inside the client's label is no zone boundary, odd bytes are escaped", all, 1, 0x01,
       "a/b\nc.example.net.",
       "F: a\\.b\\010c.example.net example.net 2001:db8:1::10 2001:db8:1::11; "
       "R: a\\.b\\010c.example.net " +
           std::string(kReverseZone) + " 2001:db8:1::10 2001:db8:1::11;"},
      {"generated: one name per address", all, 2, 0x00, nullptr,
       "F: dyn-2001-db8-1--10.example.org example.org 2001:db8:1::10; "
       "dyn-2001-db8-1--11.example.org example.org 2001:db8:1::11; "
       "R: dyn-2001-db8-1--10.example.org " +
           std::string(kReverseZone) + " 2001:db8:1::10; dyn-2001-db8-1--11.example.org " +
           kReverseZone + " 2001:db8:1::11;"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(updates(c.settings, c.mode, c.name ? fqdn(c.flags, c.name) : nullptr), c.expected)
        << c.what;
}

TEST_F(CDDNSUpdatePlanTest, EachAddressKeepsItsOwnNameAndTheZonesUpdated) {
  const nuv::CIPAddress a("2001:db8:1::10");
  const auto kept = [&](const Settings& settings, std::uint8_t mode, const COptionPtr& client) {
    const CDDNSLeaseNames n = CDDNSUpdatePlan(context, policies(settings), mode, client).names(a);
    return n.empty() ? std::string("-")
                     : n.fqdn + " F:" + n.forwardZone + " R:" + n.reverseZone + " " +
                           n.server.string() + (n.authoritative ? " auth" : "");
  };
  const Settings server{{100006, "[2001:db8::53]:0"}, {100012, "true"}, {100008, kReverseZone}};
  EXPECT_EQ(
      kept(server, 1, fqdn(0x01, "host1.example.net.")),
      "host1.example.net F:example.net R:" + std::string(kReverseZone) + " [2001:db8::53]:53 auth");
  EXPECT_EQ(kept({{100008, kReverseZone}}, 1, fqdn(0x00, "host1.example.net.")),
            "host1.example.net F: R:" + std::string(kReverseZone) + " :0");
  EXPECT_EQ(kept({{100011, "dyn"}, {100007, "example.org"}}, 2, nullptr),
            "dyn-2001-db8-1--10.example.org F:example.org R: :0");
  EXPECT_EQ(kept(server, 0, fqdn(0x01, "host1.example.net.")), "-");
}

TEST_F(CDDNSUpdatePlanTest, ClearedPlansAndEmptyListsUpdateNothing) {
  CDDNSUpdatePlan plan(context, policies({{100008, kReverseZone}}), 1,
                       fqdn(0x01, "host1.example.net."));
  EXPECT_TRUE(plan.forward());
  EXPECT_EQ(plan.clientName(), "host1.example.net");
  EXPECT_TRUE(plan.updates({}, true).empty());
  plan.clear();
  EXPECT_TRUE(plan.updates({nuv::CIPAddress("2001:db8:1::10")}, true).empty());
  EXPECT_EQ(plan.fqdn(nuv::CIPAddress("2001:db8:1::10")), "");
}
