// Release as a client sees it: its leases on this link end at once and are
// announced; the Reply says Success, with NoBinding for an IA that held
// nothing to release, and carries nothing else.
#include "dhcp6_server/CDHCP6Release.h"
#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "tests/dhcp6_server/CRecordingDDNS.h"
#include "tests/dhcp6_server/LeasingFixture.h"

using namespace served;

namespace {

const char* const kNoBinding = "{ code = 3, message = \"no_binding\" }";

struct ReleaseFixture : LeasingFixture {
  void SetUp() override {
    LeasingFixture::SetUp();
    if (!tls) return;
    lease("2001:db8:1::10");
    lease("2001:db8:1::11");
    prefixLease();
  }
  std::shared_ptr<CDHCP6Packet> release(const std::string& options, const char* link = kLink) {
    return clientMessage(8, thisServer() + options, link);
  }
  static std::string topStatus(const std::shared_ptr<CDHCP6Packet>& reply) {
    COptionPtr s;
    if (!reply || !reply->hostOptions()->find(CTagPath{13}, s)) return "<none>";
    return s->string();
  }
};

}  // namespace

TEST_P(ReleaseFixture, TheClientsLeasesEndAndAreAnnounced) {
  store<CPolicyRecord>("name = dns\ndomains = 7\noption = dns-servers = 2001:db8::53");
  provisioner->domains = {7};
  const auto reply = release(iaNA(1, iaAddr("2001:db8:1::10")) + iaPD(2) + oro({23}));
  ASSERT_TRUE(reply);
  EXPECT_EQ(topStatus(reply), "{ code = 0, message = \"success\" }");
  // The identifiers and the status only: no IA, no requested option.
  EXPECT_EQ(options(*reply),
            "transaction-id = 1193046\nmsg-type = 7\nserver-id = "
            "\"00-03-00-01-02-00-00-00-00-01\"\nclient-id = "
            "\"00-03-00-01-02-00-00-00-00-02\"\nstatus-code = { code = 0, "
            "message = \"success\" }\n");
  // Both leases of the IA, whatever addresses the client named; kept with
  // duration 0.
  EXPECT_EQ(durations(), (std::vector<std::string>{"2001:db8:1::10 0", "2001:db8:1::11 0"}));
  const std::string pool = std::to_string(lanPool);
  EXPECT_EQ(events.lines,
            (std::vector<std::string>{
                "release address_lease 2001:db8:1::10 pool=" + pool + " host='' family=6",
                "release address_lease 2001:db8:1::11 pool=" + pool + " host='' family=6",
                "release network_lease 2001:db8:100:: pool=" + std::to_string(pdPool) +
                    " host='' family=6"}));
}

TEST_P(ReleaseFixture, AnIAWithNothingOfTheClientsHereSaysNoBinding) {
  addressPool("closed", "2001:db8:1:1::10", "2001:db8:1:1::ff", kLink,
              "prefix = 2001:db8:1:1::\nallow = [false]");
  lease("2001:db8:1:1::10", 3, "iana", "", kLink, "closed");
  const struct {
    const char* what;
    std::string ias;
    const char* link;
  } cases[] = {
      {"no lease in the IA", iaNA(9), kLink},
      {"lease in a pool now closed to the client", iaNA(3), kLink},
      {"lease made on another link", iaNA(1), "2001:db8:2::1"},
  };
  for (const auto& c : cases) {
    const auto reply = release(c.ias, c.link);
    EXPECT_EQ(topStatus(reply), "{ code = 0, message = \"success\" }") << c.what;
    EXPECT_EQ(status(reply, 3), kNoBinding) << c.what;
  }
  EXPECT_EQ(durations(), (std::vector<std::string>{"2001:db8:1::10 7200", "2001:db8:1::11 7200",
                                                   "2001:db8:1:1::10 7200"}));
  EXPECT_TRUE(events.lines.empty());
}

TEST_P(ReleaseFixture, AReleaseForAnotherServerIsNotAnsweredAndChangesNothing) {
  EXPECT_FALSE(clientMessage(8, opt(2, std::string("\x00\x03\x00\x01\x09", 5)) + iaNA(1)));
  EXPECT_TRUE(logged("info: [release/0x123456] Discarding 'RELEASE' (serverDUID != me)."));
  EXPECT_EQ(durations()[0], "2001:db8:1::10 7200");
  EXPECT_TRUE(events.lines.empty());
}

NUV_PRST_BACKENDS(ReleaseFixture);

namespace {
struct DDNSReleaseFixture : ReleaseFixture {
  void morePlugins() override {
    ReleaseFixture::morePlugins();
    ddns = new CRecordingDDNS;
    host.plugins().addPlugin(ddns, deleteTestPlugin, nullptr, "ddns");
  }
  CRecordingDDNS* ddns = nullptr;  // owned by the host
};
}  // namespace

TEST_P(DDNSReleaseFixture, TheReleasedAddressesNamesAreDeleted) {
  store<CPolicyRecord>(
      "name = ddns\ndomains = 7\noption = ddns-update-mode = 1\n"
      "option = ddns-update-server = [2001:db8::53]:53\n"
      "option = ddns-reverse-zone = 1.0.0.8.b.d.0.1.0.0.2.ip6.arpa");
  provisioner->domains = {7};
  const auto reply =
      release(iaNA(1, iaAddr("2001:db8:1::10")) + iaPD(2) + fqdnOption(0x01, "host1.example.net."));
  ASSERT_TRUE(reply);
  const std::string rest =
      " ttl=3600 server=[2001:db8::53]:53 auth=0 2001:db8:1::10 2001:db8:1::11";
  EXPECT_EQ(ddns->taken(),
            (std::vector<std::string>{
                "delete-aaaa host1.example.net zone=example.net" + rest,
                "delete-ptr host1.example.net zone=1.0.0.8.b.d.0.1.0.0.2.ip6.arpa" + rest}));
  // Nothing released, nothing deleted.
  EXPECT_TRUE(release(iaNA(9) + fqdnOption(0x01, "host1.example.net.")));
  EXPECT_TRUE(ddns->taken().empty());
}

TEST_P(DDNSReleaseFixture, WhatALeaseKeptIsDeletedAndForgottenSoTheReclaimerDeletesNothing) {
  // IA 3's leases keep the names they have in the DNS (a message's name
  // may differ, or be missing); IA 1's keep none (leased before names were
  // kept), so the policies and the message's name decide for them.
  const std::string kept =
      "option = ddns-lease-name = old.example.com\noption = ddns-lease-forward-zone = "
      "example.com\noption = ddns-lease-reverse-zone = 8.b.d.0.1.0.0.2.ip6.arpa\n"
      "option = ddns-lease-server = [2001:db8::54]:53\n";
  lease("2001:db8:1::12", 3, "iana", kept);
  lease("2001:db8:1::13", 3, "iana", kept + "option = ddns-lease-authoritative = true\n");
  lease("2001:db8:1::14", 3, "iana",
        "option = ddns-lease-name = ptr.example.com\noption = ddns-lease-reverse-zone = "
        "8.b.d.0.1.0.0.2.ip6.arpa\noption = ddns-lease-server = [2001:db8::54]:53\n"
        "option = dns-servers = 2001:db8::53\n");
  store<CPolicyRecord>(
      "name = ddns\ndomains = 7\noption = ddns-update-mode = 1\n"
      "option = ddns-update-server = [2001:db8::53]:53\n"
      "option = ddns-reverse-zone = 1.0.0.8.b.d.0.1.0.0.2.ip6.arpa");
  provisioner->domains = {7};
  ASSERT_TRUE(release(iaNA(1) + iaNA(3) + fqdnOption(0x01, "host1.example.net.")));
  const std::string server = " ttl=0 server=[2001:db8::54]:53 ";
  const std::string unnamed =
      " ttl=3600 server=[2001:db8::53]:53 auth=0 2001:db8:1::10 2001:db8:1::11";
  EXPECT_EQ(ddns->taken(),
            (std::vector<std::string>{
                "delete-aaaa old.example.com zone=example.com" + server + "auth=0 2001:db8:1::12",
                "delete-aaaa old.example.com zone=example.com" + server + "auth=1 2001:db8:1::13",
                "delete-ptr old.example.com zone=8.b.d.0.1.0.0.2.ip6.arpa" + server +
                    "auth=0 2001:db8:1::12",
                "delete-ptr old.example.com zone=8.b.d.0.1.0.0.2.ip6.arpa" + server +
                    "auth=1 2001:db8:1::13",
                "delete-ptr ptr.example.com zone=8.b.d.0.1.0.0.2.ip6.arpa" + server +
                    "auth=0 2001:db8:1::14",
                "delete-aaaa host1.example.net zone=example.net" + unnamed,
                "delete-ptr host1.example.net zone=1.0.0.8.b.d.0.1.0.0.2.ip6.arpa" + unnamed}));
  // Forgotten with the release's own write; other options stay.
  EXPECT_EQ(keptNames(),
            (std::vector<std::string>{"2001:db8:1::10 -", "2001:db8:1::11 -", "2001:db8:1::12 -",
                                      "2001:db8:1::13 -", "2001:db8:1::14 -"}));
  EXPECT_EQ(durations()[4], "2001:db8:1::14 0");
  tls->startTransaction();
  nuv::CStringMap args;
  args.set("IPADDR", "2001:db8:1::14");
  const auto released = session().select<CPrstAddressBinding6>("binding.addr", args);
  ASSERT_EQ(released.size(), 1u);
  EXPECT_EQ(released.front()->optionStore().string(), "dns-servers = \"2001:db8::53\"\n");
  tls->commitTransaction();
}

NUV_PRST_BACKENDS(DDNSReleaseFixture);
