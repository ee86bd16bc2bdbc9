// What a lease keeps of its DNS records: written into a binding's option
// set next to other options, read back from the set's stored text form,
// removed again, and turned into deletes grouped per name.
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_server_common/CDDNSLeaseNames.h"
#include "tests/dhcp_server_common/DDNSFixture.h"

namespace {

struct CDDNSLeaseNamesTest : DDNSFixture {
  // The set as a binding's OPTIONS column holds it, parsed again.
  COptionStorePtr stored(const COptionStore& set) {
    COptionStorePtr out = context.factory().createOS("binding-options");
    COptionInputContext ic(nullptr, out.get());
    out->string(set.string(), ic);
    return out;
  }
  static CDDNSLeaseNames names(const std::string& fqdn, const std::string& forward,
                               const std::string& reverse, const char* server, bool auth) {
    CDDNSLeaseNames n;
    n.fqdn = fqdn;
    n.forwardZone = forward;
    n.reverseZone = reverse;
    if (server) n.server = nuv::CEndpoint(server);
    n.authoritative = auth;
    return n;
  }
  // "fqdn zone address..." per update, forward ones first, "|" between.
  static std::string text(const std::vector<CDDNSUpdate>& f, const std::vector<CDDNSUpdate>& r) {
    std::string out;
    for (const auto* list : {&f, &r})
      for (const CDDNSUpdate& u : *list) {
        out += (out.empty() ? "" : " | ") + u.fqdn + " " + u.zone + " " + u.server.string() +
               (u.authoritative ? " auth" : "");
        for (const auto& a : u.addresses) out += " " + a.string();
      }
    return out;
  }
};

const char* const kReverse = "1.0.0.8.b.d.0.1.0.0.2.ip6.arpa";

}  // namespace

TEST_F(CDDNSLeaseNamesTest, WrittenNamesReadBackFromTheStoredTextAndLeaveOtherOptions) {
  const struct {
    const char* what;
    CDDNSLeaseNames names;
  } cases[] = {
      {"both records",
       names("host1.example.net", "example.net", kReverse, "[2001:db8::53]:53", true)},
      {"the PTR only, the service's default server",
       names("host1.example.net", "", kReverse, nullptr, false)},
      {"odd bytes and a dot inside a label stay escaped",
       names("a\\.b\\010c.example.net", "example.net", "", "[::1]:5353", false)},
  };
  for (const auto& c : cases) {
    COptionStorePtr set = policies({{23, "2001:db8::53"}});
    c.names.write(*set);
    const COptionStorePtr back = stored(*set);
    EXPECT_TRUE(CDDNSLeaseNames::read(*back) == c.names) << c.what << "\n" << back->string();
    EXPECT_TRUE(back->defined(CTagPath{23})) << c.what;
    // Nothing of them goes on the wire.
    for (std::uint32_t code = 100018; code <= 100022; ++code)
      EXPECT_TRUE(context.isServerControlOption(code));

    // Written again empty: gone, the other option stays.
    CDDNSLeaseNames().write(*back);
    EXPECT_TRUE(CDDNSLeaseNames::read(*stored(*back)).empty()) << c.what;
    EXPECT_EQ(stored(*back)->string(), policies({{23, "2001:db8::53"}})->string()) << c.what;
  }
  EXPECT_TRUE(CDDNSLeaseNames::read(*policies({})).empty());
}

TEST_F(CDDNSLeaseNamesTest, DeletesOfOneNameJoinInOneUpdate) {
  const CDDNSLeaseNames both =
      names("host1.example.net", "example.net", kReverse, "[::1]:53", false);
  const CDDNSLeaseNames other =
      names("host2.example.net", "example.net", kReverse, "[::1]:53", false);
  const CDDNSLeaseNames ptr = names("host1.example.net", "", kReverse, "[::1]:53", true);
  std::vector<CDDNSUpdate> forward, reverse;
  both.appendDeletes(nuv::CIPAddress("2001:db8:1::10"), forward, reverse);
  both.appendDeletes(nuv::CIPAddress("2001:db8:1::11"), forward, reverse);
  other.appendDeletes(nuv::CIPAddress("2001:db8:1::12"), forward, reverse);
  ptr.appendDeletes(nuv::CIPAddress("2001:db8:1::13"), forward, reverse);
  CDDNSLeaseNames().appendDeletes(nuv::CIPAddress("2001:db8:1::14"), forward, reverse);
  EXPECT_EQ(text(forward, reverse),
            "host1.example.net example.net [::1]:53 2001:db8:1::10 2001:db8:1::11 | "
            "host2.example.net example.net [::1]:53 2001:db8:1::12 | "
            "host1.example.net " +
                std::string(kReverse) +
                " [::1]:53 2001:db8:1::10 2001:db8:1::11 | "
                "host2.example.net " +
                kReverse +
                " [::1]:53 2001:db8:1::12 | "
                "host1.example.net " +
                kReverse + " [::1]:53 auth 2001:db8:1::13");
}
