// Request as a client sees it: the offer of the Advertise becomes a lease,
// leases it holds are extended, and every lease made is announced once
// its transaction has committed.
#include "dhcp6_server/CDHCP6Request.h"
#include "dhcp_database/CPolicyRecord.h"
#include "tests/dhcp6_server/CRecordingDDNS.h"
#include "tests/dhcp6_server/LeasingFixture.h"

using namespace served;

namespace {

struct RequestFixture : LeasingFixture {
  std::shared_ptr<CDHCP6Packet> request(const std::string& options) {
    return clientMessage(3, thisServer() + options);
  }
  std::shared_ptr<CDHCP6Packet> solicit(const std::string& options) {
    return clientMessage(1, options);
  }
};

// With a DDNS service that keeps what it is handed.
struct DDNSRequestFixture : RequestFixture {
  void morePlugins() override {
    RequestFixture::morePlugins();
    ddns = new CRecordingDDNS;
    host.plugins().addPlugin(ddns, deleteTestPlugin, nullptr, "ddns");
  }
  // The client's policies: the domain's own, holding the option lines.
  void policy(int domain, const std::string& options) {
    store<CPolicyRecord>("name = ddns" + std::to_string(domain) +
                         "\ndomains = " + std::to_string(domain) + "\n" + options);
    provisioner->domains = {domain};
  }
  // The reply's Client FQDN option as "flags name", or "<none>".
  static std::string replyFQDN(const std::shared_ptr<CDHCP6Packet>& reply) {
    COptionPtr flags, name;
    if (!reply || !reply->hostOptions()->find(CTagPath{39, 1}, flags)) return "<none>";
    std::string out = std::to_string(CValueTypeConverter::uint8(*flags, 0));
    if (reply->hostOptions()->find(CTagPath{39, 2}, name) && name->count())
      out += " " + CValueTypeConverter::string(*name, 0);
    return out;
  }
  CRecordingDDNS* ddns = nullptr;  // owned by the host
};

const char* const kNotOnLink = "{ code = 4, message = \"not_on_link\" }";

}  // namespace

TEST_P(RequestFixture, TheOfferBecomesALeaseAnnouncedAfterCommit) {
  ASSERT_TRUE(solicit(iaNA(1) + iaPD(2)));
  age(8);  // well inside the nine seconds, whatever second the clock turns
  const auto reply = request(iaNA(1) + iaPD(2));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->msgType(), CDHCP6MsgType::reply);
  Offer na, pd;
  ASSERT_TRUE(offer(reply, 3, na));
  ASSERT_TRUE(offer(reply, 25, pd));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:1::10 3600 7200"});
  EXPECT_EQ(pd.leases, std::vector<std::string>{"2001:db8:100::/56 3600 7200"});
  EXPECT_EQ(na.t1, 1800u);
  EXPECT_EQ(na.t2, 2880u);
  const std::string pool = std::to_string(lanPool), prefixPool = std::to_string(pdPool);
  EXPECT_EQ(bindings<CPrstAddressBinding6>(),
            std::vector<std::string>{"2001:db8:1::10 2001:db8:1::1 7200 " + pool +
                                     " 42 dynamic dhcpv6 2 fresh"});
  EXPECT_EQ(bindings<CPrstNetworkBinding6>(),
            std::vector<std::string>{"2001:db8:100:: 2001:db8:1::1 7200 " + prefixPool +
                                     " 42 dynamic dhcpv6 2 fresh"});
  EXPECT_EQ(pendings<CPrstAddressPending6>() + pendings<CPrstNetworkPending6>(), 0u);
  // Once each, with an empty host name rather than none.
  EXPECT_EQ(events.lines,
            (std::vector<std::string>{
                "obtain address_lease 2001:db8:1::10 pool=" + pool + " host='' family=6",
                "obtain network_lease 2001:db8:100:: pool=" + prefixPool + " host='' family=6"}));
  EXPECT_TRUE(
      logged("info: [request/0x123456] Created address binding for device "
             "'00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1 with address "
             "2001:db8:1::10 from pool lan."));
  EXPECT_TRUE(
      logged("info: [request/0x123456] Created prefix binding for device "
             "'00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1 with address "
             "2001:db8:100::/56 from pool pd."));
  // Asked again (the Reply was lost): the same lease, extended.
  events.lines.clear();
  ASSERT_TRUE(offer(request(iaNA(1)), 3, na));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:1::10 3600 7200"});
  EXPECT_EQ(bindings<CPrstAddressBinding6>().size(), 1u);
  EXPECT_EQ(events.lines.size(), 1u);
  EXPECT_TRUE(
      logged("Extended address binding for device '00-03-00-01-02-00-00-00-00-02' on "
             "link 2001:db8:1::1 with address 2001:db8:1::10."));
}

TEST_P(RequestFixture, AnIAWithNeitherLeaseNorLiveOfferIsNotOnLink) {
  ASSERT_TRUE(solicit(iaNA(1)));
  age(10);
  const auto stale = request(iaNA(1) + iaPD(2));
  EXPECT_EQ(status(stale, 3), kNotOnLink);
  EXPECT_EQ(status(stale, 25), kNotOnLink);
  Offer na;
  ASSERT_TRUE(offer(stale, 3, na));
  EXPECT_TRUE(na.leases.empty());
  EXPECT_TRUE(logged("Removing stale address pending record"));
  EXPECT_TRUE(
      logged("info: [request/0x123456] No address leases or pendings are available for "
             "device '00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1."));
  EXPECT_TRUE(
      logged("info: [request/0x123456] No prefix leases or pendings are available for "
             "device '00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1."));
  EXPECT_TRUE(bindings<CPrstAddressBinding6>().empty());
  EXPECT_TRUE(events.lines.empty());
}

TEST_P(RequestFixture, ARequestForAnotherServerWithdrawsTheAddressOffers) {
  ASSERT_TRUE(solicit(iaNA(1) + iaPD(2)));
  EXPECT_FALSE(
      clientMessage(3, opt(2, std::string("\x00\x03\x00\x01\x09", 5)) + iaNA(1) + iaPD(2)));
  EXPECT_TRUE(logged("info: [request/0x123456] Discarding 'REQUEST' (serverDUID != me)."));
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 0u);
  // Prefix offers age out by themselves.
  EXPECT_EQ(pendings<CPrstNetworkPending6>(), 1u);
  EXPECT_TRUE(bindings<CPrstAddressBinding6>().empty());
  // No Server Identifier at all names no server either.
  EXPECT_FALSE(clientMessage(3, iaNA(1)));
}

// Servers sharing the database: the offer a client asks another server for
// is that server's to lease, not this one's to withdraw.
TEST_P(RequestFixture, AnOfferRequestedFromAnotherServerIsLeftToIt) {
  ASSERT_TRUE(solicit(iaNA(1)));
  const std::string other = opt(2, std::string("\x00\x03\x00\x01\x09", 5));
  EXPECT_FALSE(clientMessage(3, other + iaNA(1, iaAddr("2001:db8:1::10"))));
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 1u);
  // Another address named: the offer is withdrawn after all.
  EXPECT_FALSE(clientMessage(3, other + iaNA(1, iaAddr("2001:db8:1::99"))));
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 0u);
}

TEST_P(RequestFixture, ALeaseAndAnOfferInOneIAAreRepliedTogether) {
  addressPool("short", "2001:db8:1:1::10", "2001:db8:1:1::ff", kLink,
              "prefix = 2001:db8:1:1::\npref_lt = 1000\nvalid_lt = 2000");
  lease("2001:db8:1:1::20", 1, "iana", "lease_duration = 2000", kLink, "short");
  // An offer held for the same IA (a Solicit of another server's making).
  heldOffer("00-03-00-01-02-00-00-00-00-02", 1, "2001:db8:1::30");
  Offer na;
  ASSERT_TRUE(offer(request(iaNA(1)), 3, na));
  EXPECT_EQ(na.leases,
            (std::vector<std::string>{"2001:db8:1:1::20 1000 2000", "2001:db8:1::30 3600 7200"}));
  EXPECT_EQ(na.t1, 500u);
  EXPECT_EQ(na.t2, 800u);
  EXPECT_EQ(events.lines.size(), 2u);
}

TEST_P(RequestFixture, AnOfferFromAPoolNowClosedToTheClientIsDropped) {
  ASSERT_TRUE(solicit(iaNA(1)));
  tls->startTransaction();
  auto pool = session().findPK<CPrstAddressPool6>(lanPool);
  pool->active(false);
  pool->commit();
  tls->commitTransaction();
  const auto reply = request(iaNA(1));
  EXPECT_EQ(status(reply, 3), kNotOnLink);
  EXPECT_TRUE(
      logged("info: [request/0x123456] Dropping request from device "
             "'00-03-00-01-02-00-00-00-00-02'. This device was offered an address from "
             "pool lan, but the pool is no longer accessible to this device."));
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 0u);
  EXPECT_TRUE(bindings<CPrstAddressBinding6>().empty());
}

TEST_P(RequestFixture, ALeaseThatCannotBeStoredIsNeitherAnsweredNorAnnounced) {
  ASSERT_TRUE(solicit(iaNA(1)));
  refuseInserts("dhcp_abindings6");
  EXPECT_FALSE(request(iaNA(1)));
  EXPECT_TRUE(events.lines.empty());
  // The offer is still there for the next try.
  EXPECT_EQ(pendings<CPrstAddressPending6>(), 1u);
}

TEST_P(RequestFixture, TheClientsOwnNameIsAnnounced) {
  ASSERT_TRUE(solicit(iaNA(1)));
  ASSERT_TRUE(request(iaNA(1) + fqdnOption(0x01, "host.example.")));
  ASSERT_EQ(events.lines.size(), 1u);
  EXPECT_NE(events.lines[0].find("host='host.example"), std::string::npos) << events.lines[0];
}

NUV_PRST_BACKENDS(RequestFixture);

TEST_P(DDNSRequestFixture, TheLeasedAddressesNamesGoToTheDNSAfterCommit) {
  const std::string zones =
      "option = ddns-update-server = [2001:db8::53]:0\noption = ddns-ttl = 300\n"
      "option = ddns-forward-zone = example.org\n"
      "option = ddns-reverse-zone = 1.0.0.8.b.d.0.1.0.0.2.ip6.arpa\n";
  const std::string rest = " ttl=300 server=[2001:db8::53]:53 auth=0 2001:db8:1::10";
  const std::string reverse = "add-ptr host1.example.net zone=1.0.0.8.b.d.0.1.0.0.2.ip6.arpa";
  ASSERT_TRUE(solicit(iaNA(1) + iaPD(2)));
  const struct {
    const char* what;
    std::string options;  // of the policy
    std::string fqdn;     // the client's option, or none
    std::string replyFQDN;
    std::vector<std::string> updates;
  } cases[] = {
      {"the client's name, forward and reverse",
       "option = ddns-update-mode = 1\n" + zones,
       fqdnOption(0x01, "host1.example.net."),
       "1 host1.example.net",
       {"add-aaaa host1.example.net zone=example.net" + rest, reverse + rest}},
      {"S clear: the client keeps its AAAA, the server adds the PTR",
       "option = ddns-update-mode = 1\n" + zones,
       fqdnOption(0x00, "host1.example.net."),
       "0 host1.example.net",
       {reverse + rest}},
      {"N set: the client wants no update",
       "option = ddns-update-mode = 1\n" + zones,
       fqdnOption(0x04, "host1.example.net."),
       "4 host1.example.net",
       {}},
      {"a bare label completed by the forward zone",
       "option = ddns-update-mode = 1\n" + zones,
       fqdnOption(0x01, "host1"),
       "1 host1.example.org",
       {"add-aaaa host1.example.org zone=example.org" + rest,
        "add-ptr host1.example.org zone=1.0.0.8.b.d.0.1.0.0.2.ip6.arpa" + rest}},
      {"updates turned off: overridden, none",
       zones,
       fqdnOption(0x01, "host1.example.net."),
       "6 host1.example.net",
       {}},
      {"generated names",
       "option = ddns-update-mode = 2\noption = ddns-host-name = dyn\n" + zones,
       fqdnOption(0x00, "host1.example.net."),
       "3 dyn-2001-db8-1--10.example.org",
       // The AAAA under the name the lease had before goes first.
       {"delete-aaaa host1.example.org zone=example.org ttl=0 server=[2001:db8::53]:53 auth=0 "
        "2001:db8:1::10",
        "add-aaaa dyn-2001-db8-1--10.example.org zone=example.org" + rest,
        "add-ptr dyn-2001-db8-1--10.example.org zone=1.0.0.8.b.d.0.1.0.0.2.ip6.arpa" + rest}},
      {"generated names without a Client FQDN option: the reply has none",
       "option = ddns-update-mode = 2\noption = ddns-host-name = dyn\n" + zones,
       "",
       "<none>",
       {"add-aaaa dyn-2001-db8-1--10.example.org zone=example.org" + rest,
        "add-ptr dyn-2001-db8-1--10.example.org zone=1.0.0.8.b.d.0.1.0.0.2.ip6.arpa" + rest}},
  };
  int domain = 10;
  for (const auto& c : cases) {
    policy(++domain, c.options);
    // The first Request claims the offer; the later ones extend the lease.
    const auto reply = request(iaNA(1) + iaPD(2) + c.fqdn);
    ASSERT_TRUE(reply) << c.what;
    EXPECT_EQ(replyFQDN(reply), c.replyFQDN) << c.what;
    // Prefixes have no names.
    EXPECT_EQ(ddns->taken(), c.updates) << c.what;
  }
}

TEST_P(DDNSRequestFixture, EachLeaseKeepsWhatItHasInTheDNSAndANewNameReplacesIt) {
  const std::string reverseZone = "1.0.0.8.b.d.0.1.0.0.2.ip6.arpa";
  policy(11,
         "option = ddns-update-mode = 1\noption = ddns-authoritative = true\n"
         "option = ddns-update-server = [2001:db8::53]:0\noption = ddns-reverse-zone = " +
             reverseZone + "\n");
  const std::string rest = " server=[2001:db8::53]:53 auth=1 2001:db8:1::10";
  ASSERT_TRUE(solicit(iaNA(1) + iaNA(3) + iaPD(2)));
  const struct {
    const char* what;
    std::string fqdn;  // the client's option
    std::vector<std::string> updates;
    std::vector<std::string> kept;  // by the two address leases; prefixes keep none
  } cases[] = {
      {"new leases keep their names with their first write",
       fqdnOption(0x01, "host1.example.net."),
       {"add-aaaa host1.example.net zone=example.net ttl=3600" + rest + " 2001:db8:1::11",
        "add-ptr host1.example.net zone=" + reverseZone + " ttl=3600" + rest + " 2001:db8:1::11"},
       {"2001:db8:1::10 host1.example.net example.net " + reverseZone + " [2001:db8::53]:53 1",
        "2001:db8:1::11 host1.example.net example.net " + reverseZone + " [2001:db8::53]:53 1"}},
      {"the same names again: kept as they are",
       fqdnOption(0x01, "host1.example.net."),
       {"add-aaaa host1.example.net zone=example.net ttl=3600" + rest + " 2001:db8:1::11",
        "add-ptr host1.example.net zone=" + reverseZone + " ttl=3600" + rest + " 2001:db8:1::11"},
       {"2001:db8:1::10 host1.example.net example.net " + reverseZone + " [2001:db8::53]:53 1",
        "2001:db8:1::11 host1.example.net example.net " + reverseZone + " [2001:db8::53]:53 1"}},
      {"N set: nothing updated, what is in the DNS stays kept",
       fqdnOption(0x04, "host2.example.net."),
       {},
       {"2001:db8:1::10 host1.example.net example.net " + reverseZone + " [2001:db8::53]:53 1",
        "2001:db8:1::11 host1.example.net example.net " + reverseZone + " [2001:db8::53]:53 1"}},
      {"a new name: the old AAAA records go, the PTRs are replaced",
       fqdnOption(0x01, "host2.example.com."),
       {"delete-aaaa host1.example.net zone=example.net ttl=0" + rest,
        "delete-aaaa host1.example.net zone=example.net ttl=0" + rest.substr(0, rest.size() - 2) +
            "11",
        "add-aaaa host2.example.com zone=example.com ttl=3600" + rest + " 2001:db8:1::11",
        "add-ptr host2.example.com zone=" + reverseZone + " ttl=3600" + rest + " 2001:db8:1::11"},
       {"2001:db8:1::10 host2.example.com example.com " + reverseZone + " [2001:db8::53]:53 1",
        "2001:db8:1::11 host2.example.com example.com " + reverseZone + " [2001:db8::53]:53 1"}},
      {"S clear: the client adds its own AAAA under the same name; only the PTR is kept",
       fqdnOption(0x00, "host2.example.com."),
       {"add-ptr host2.example.com zone=" + reverseZone + " ttl=3600" + rest + " 2001:db8:1::11"},
       {"2001:db8:1::10 host2.example.com - " + reverseZone + " [2001:db8::53]:53 1",
        "2001:db8:1::11 host2.example.com - " + reverseZone + " [2001:db8::53]:53 1"}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(request(iaNA(1) + iaNA(3) + iaPD(2) + c.fqdn)) << c.what;
    EXPECT_EQ(ddns->taken(), c.updates) << c.what;
    EXPECT_EQ(keptNames(), c.kept) << c.what;
  }
}

TEST_P(DDNSRequestFixture, ALeaseRolledBackNeverReachesTheDNS) {
  policy(11,
         "option = ddns-update-mode = 1\noption = ddns-reverse-zone = 8.b.d.0.1.0.0.2.ip6.arpa");
  ASSERT_TRUE(solicit(iaNA(1)));
  refuseInserts("dhcp_abindings6");
  EXPECT_FALSE(request(iaNA(1) + fqdnOption(0x01, "host1.example.net.")));
  EXPECT_TRUE(ddns->taken().empty());
}

NUV_PRST_BACKENDS(DDNSRequestFixture);
