// Confirm: every address judged by the link its lease was made on; the
// server stays silent when it does not know an address.
#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "tests/dhcp6_server/ServedExchangeFixture.h"

using namespace served;

namespace {

const char* const kLink = "2001:db8:1::1";

struct ConfirmFixture : ServedExchangeFixture {
  void SetUp() override {
    ServedExchangeFixture::SetUp();
    if (!tls) return;
    // Leases of the client (IAID 1) on the link, and one on another link.
    lease("2001:db8:1::10", kLink);
    lease("2001:db8:1::11", kLink);
    lease("2001:db8:2::10", "2001:db8:2::1");
    const std::string key =
        "client_id = 00-03-00-01-02-00-00-00-00-02\niatype = iapd\niaid = 7\n"
        "lease_duration = 3600\ndomains = 2\n";
    store<CPrstNetworkBinding6>(key + "ipaddr = 2001:db8:100::\nprefix_len = 56\nrelay = " + kLink);
  }
  // A later key in more replaces the default.
  void lease(const char* address, const char* relay, const std::string& more = "") {
    store<CPrstAddressBinding6>(
        std::string("client_id = 00-03-00-01-02-00-00-00-00-02\niatype = iana\niaid = 1\n"
                    "lease_duration = 3600\ndomains = 2\nipaddr = ") +
        address + "\nrelay = " + relay + "\n" + more);
  }
  // An IA_NA (IAID 1) holding the addresses.
  static std::string addresses(std::initializer_list<const char*> list) {
    std::string sub;
    for (const char* a : list) sub += iaAddr(a);
    return iaNA(1, sub);
  }
  std::shared_ptr<CDHCP6Packet> confirm(const std::string& ias) {
    return exchange(relayed(kLink, msg(4, clientID() + ias)));
  }
  // The status code of the Reply inside the Relay-reply.
  static std::string status(const CDHCP6Packet& reply) {
    COptionPtr s;
    if (!reply.hostOptions()->find(CTagPath{13}, s)) return "<none>";
    return s->string();
  }
};

}  // namespace

TEST_P(ConfirmFixture, AddressesLeasedOnThisLinkAreConfirmed) {
  const auto reply = confirm(addresses({"2001:db8:1::10", "2001:db8:1::11"}));
  ASSERT_TRUE(reply);
  EXPECT_EQ(relayLayers, 1u);
  EXPECT_EQ(reply->msgType(), CDHCP6MsgType::reply);
  EXPECT_EQ(status(*reply), "{ code = 0, message = \"success\" }");
  // No IA, no policy option: only the identifiers and the status.
  EXPECT_FALSE(reply->hostOptions()->defined(CTagPath{3}));
  EXPECT_TRUE(reply->hostOptions()->defined(CTagPath{1}));
}

TEST_P(ConfirmFixture, OutcomeDependsOnUnknownAndOffLinkAddresses) {
  const struct {
    const char* what;
    std::string ias;
    const char* status;  // null: no reply
    const char* line;
  } cases[] = {
      {"one off link", addresses({"2001:db8:1::10", "2001:db8:2::10"}),
       "{ code = 4, message = \"not_on_link\" }",
       "info: [confirm/0x123456] Not confirming device '00-03-00-01-02-00-00-00-00-02' on link "
       "'2001:db8:1::1'. 1 bindings are off link."},
      // Unknown is tested first: the server cannot judge, so it is silent.
      {"unknown and off link", addresses({"2001:db8:9::1", "2001:db8:2::10"}), nullptr,
       "info: [confirm/0x123456] Discarding confirm from device '00-03-00-01-02-00-00-00-00-02' "
       "on link 2001:db8:1::1. Cannot confirm 1 unknown address(es)."},
      {"no IA", "", nullptr,
       "info: [confirm/0x123456] Discarding confirm from device '00-03-00-01-02-00-00-00-00-02' "
       "on link '2001:db8:1::1'. No IAs specified."},
      {"IA without addresses", addresses({}), "{ code = 0, message = \"success\" }", nullptr},
      {"delegated prefix on this link", iaPD(7, iaPrefix("2001:db8:100::", 56)),
       "{ code = 0, message = \"success\" }", nullptr},
  };
  for (const auto& c : cases) {
    const auto reply = confirm(c.ias);
    if (c.status) {
      ASSERT_TRUE(reply) << c.what;
      EXPECT_EQ(status(*reply), c.status) << c.what;
    } else {
      EXPECT_FALSE(reply) << c.what;
    }
    if (c.line) {
      EXPECT_TRUE(logged(c.line)) << c.what;
    }
  }
}

TEST_P(ConfirmFixture, TemporaryAddressesAreJudgedUnderTheirOwnType) {
  lease("2001:db8:1::30", kLink, "iatype = iata\niaid = 3");
  const auto reply = confirm(iaTA(3, iaAddr("2001:db8:1::30")));
  ASSERT_TRUE(reply);
  EXPECT_EQ(status(*reply), "{ code = 0, message = \"success\" }");
  // The same address as an IA_NA of that IAID is not the client's.
  EXPECT_FALSE(confirm(iaNA(3, iaAddr("2001:db8:1::30"))));
  // Nor is an IA_TA address leased as an IA_NA one.
  EXPECT_FALSE(confirm(iaTA(3, iaAddr("2001:db8:1::10"))));
}

TEST_P(ConfirmFixture, APolicysStorageIdentityIsTheKeyButTheReplyNamesTheClient) {
  // The client's leases are kept under the DUID a policy gives it.
  lease("2001:db8:1::99", kLink, "client_id = 00-03-00-01-02-00-00-00-00-99");
  EXPECT_FALSE(confirm(addresses({"2001:db8:1::99"})));
  store<CPolicyRecord>(
      "name = storage\ndomains = 7\noption = storage-duid = 00-03-00-01-02-00-00-00-00-99");
  provisioner->domains = {7};
  const auto reply = confirm(addresses({"2001:db8:1::99"}));
  ASSERT_TRUE(reply);
  EXPECT_EQ(status(*reply), "{ code = 0, message = \"success\" }");
  EXPECT_EQ(reply->clientID().string(), "00-03-00-01-02-00-00-00-00-02");
  EXPECT_TRUE(
      logged("[confirm/0x123456] The server is overriding duid '00-03-00-01-02-00-00-00-00-02' "
             "with duid '00-03-00-01-02-00-00-00-00-99' in accordance with policy configuration."));
}

NUV_PRST_BACKENDS(ConfirmFixture);
