// Information-request: requested options from the client's policies, the
// order in which policies win, and the Server Identifier checks.
#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "dhcp_server_common/CIDHCPLBalancer.h"
#include "oodb_persistence/CIDatabaseInit.h"
#include "oodb_persistence/CPrstDBSession.h"
#include "tests/dhcp6_server/ServedExchangeFixture.h"

using namespace served;

namespace {

struct InfoReqFixture : ServedExchangeFixture {
  void SetUp() override {
    ServedExchangeFixture::SetUp();
    if (!tls) return;
    // The server made both global policies; give "Global Optional" options.
    CPrstTransaction tx(session());
    auto global = CPolicyRecord::fastSelectRec(session(), "Global Optional");
    ASSERT_EQ(global.size(), 1u);
    global.front()->string(
        "option = dns-servers = 2001:db8::1\noption = domain-search = global.example");
    global.front()->commit();
    tx.commit();
    policiesChanged();
  }
};

}  // namespace

// Header, our Server Identifier and the client's identifier.
const std::string kHeader =
    "transaction-id = 1193046\nmsg-type = 7\n"
    "server-id = \"00-03-00-01-02-00-00-00-00-01\"\n";
const std::string kClient = "client-id = \"00-03-00-01-02-00-00-00-00-02\"\n";

TEST_P(InfoReqFixture, AnswersOnlyTheRequestedOptionsOfTheClientsPolicies) {
  // Requested twice, answered once.
  const auto reply = exchange(msg(11, clientID() + oro({23, 23})));
  ASSERT_TRUE(reply);
  EXPECT_EQ(options(*reply), kHeader + kClient + "dns-servers = \"2001:db8::1\"\n");
  EXPECT_TRUE(
      logged("debug: [info/0x123456] The server is applying options from global policy "
             "'Global Optional'."));
  // Nothing requested: nothing but the identifiers.
  EXPECT_EQ(options(*exchange(msg(11, clientID()))), kHeader + kClient);
}

TEST_P(InfoReqFixture, TheFirstClientPolicyWinsAndGlobalValuesFillTheGaps) {
  store<CPolicyRecord>("name = first\ndomains = 7\noption = dns-servers = 2001:db8::a");
  store<CPolicyRecord>("name = second\ndomains = 8\noption = dns-servers = 2001:db8::b");
  provisioner->domains = {7, 8};
  const auto reply = exchange(msg(11, clientID() + oro({23, 24})));
  ASSERT_TRUE(reply);
  EXPECT_EQ(options(*reply), kHeader + kClient +
                                 "dns-servers = \"2001:db8::a\"\n"
                                 "domain-search = global.example\n");
  // A client in the second policy's domain only gets that one's value.
  provisioner->domains = {8};
  EXPECT_EQ(options(*exchange(msg(11, clientID() + oro({23})))),
            kHeader + kClient + "dns-servers = \"2001:db8::b\"\n");
}

TEST_P(InfoReqFixture, ServerIdentifierDecidesWhetherToAnswer) {
  const std::string ours = opt(2, std::string("\x00\x03\x00\x01\x02\x00\x00\x00\x00\x01", 10));
  const std::string other = opt(2, std::string("\x00\x03\x00\x01\x02\x00\x00\x00\x00\x09", 10));
  const auto withOurs = exchange(msg(11, clientID() + ours + oro({23})));
  ASSERT_TRUE(withOurs);
  EXPECT_EQ(options(*withOurs), kHeader + kClient + "dns-servers = \"2001:db8::1\"\n");

  EXPECT_FALSE(exchange(msg(11, clientID() + other + oro({23}))));
  EXPECT_TRUE(logged("info: [info/0x123456] Discarding 'INFO-REQ' message (serverDUID != me)."));

  // A client may leave out its identifier: the reply then has none either.
  const auto anonymous = exchange(msg(11, oro({23})));
  ASSERT_TRUE(anonymous);
  EXPECT_EQ(options(*anonymous), kHeader + "dns-servers = \"2001:db8::1\"\n");
}

TEST_P(InfoReqFixture, APolicyChangeReachesTheThreadThroughItsEvent) {
  // Another connection changes the policy, as the admin tool does.
  CPrstDHCP6ObjectAbstractFactory factory(&tls->context());
  auto other = CIDatabaseInit::find(host).openSession({&factory});
  {
    CPrstTransaction tx(*other);
    auto global = CPolicyRecord::fastSelectRec(*other, "Global Optional");
    global.front()->string("option = dns-servers = 2001:db8::2");
    global.front()->commit();
    tx.commit();
  }
  // The thread keeps its global policies until told.
  EXPECT_EQ(options(*exchange(msg(11, clientID() + oro({23})))),
            kHeader + kClient + "dns-servers = \"2001:db8::1\"\n");
  policiesChanged();
  EXPECT_EQ(options(*exchange(msg(11, clientID() + oro({23})))),
            kHeader + kClient + "dns-servers = \"2001:db8::2\"\n");
}

TEST_P(InfoReqFixture, APolicyMayNameThePortTheReplyGoesTo) {
  store<CPolicyRecord>("name = port\ndomains = 7\noption = reply-port = 10547");
  provisioner->domains = {7};
  ASSERT_TRUE(exchange(msg(11, clientID() + oro({23}))));
  EXPECT_EQ(sentTo.string(), "[fe80::2]:10547");
}

namespace {

// Serves only clients that have waited at least a second; records what it
// was asked.
class CPatientBalancer : public CPlugin, public CIDHCPLBalancerFactory, public CIDHCPLBalancer {
 public:
  std::string pluginName() const override { return "patient balancer"; }
  std::string pluginInterface() const override { return "CIDHCPLBalancerFactory,CPlugin"; }
  std::shared_ptr<CIDHCPLBalancer> createLBalancer(CIDHCPContext&) override {
    return std::shared_ptr<CIDHCPLBalancer>(std::shared_ptr<void>(), this);
  }
  void refreshConfig() override {}
  bool canService(CNodeContext&, std::uint32_t elapsed) override {
    asked.push_back(elapsed);
    return elapsed >= 100 * 1000;
  }
  void acceptTraffic() override {}
  void denyTraffic() override {}
  std::vector<std::uint32_t> asked;
};

struct BalancedFixture : InfoReqFixture {
  void morePlugins() override {
    balancer = new CPatientBalancer;
    host.plugins().addPlugin(balancer, deleteTestPlugin, nullptr, "balancer");
  }
  CPatientBalancer* balancer = nullptr;
};

}  // namespace

TEST_P(BalancedFixture, TheLoadBalancerDecidesWithTheElapsedTime) {
  // No Elapsed Time counts as none; 0x0064 hundredths is one second.
  EXPECT_FALSE(exchange(msg(11, clientID() + oro({23}))));
  EXPECT_TRUE(
      logged("info: [info/0x123456] Ignoring packet in accordance with the load balancer "
             "configuration."));
  EXPECT_TRUE(exchange(msg(11, clientID() + opt(8, u16(100)) + oro({23}))));
  EXPECT_EQ(balancer->asked, (std::vector<std::uint32_t>{0, 100000}));
}

NUV_PRST_BACKENDS(InfoReqFixture);
NUV_PRST_BACKENDS(BalancedFixture);
