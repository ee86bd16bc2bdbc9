#include <gtest/gtest.h>

#include <algorithm>

#include "dhcp6_server/CDHCP6Context.h"
#include "dhcp6_server/CDHCP6Mediator.h"
#include "dhcp_server_common/CDHCPAddrMgrStub.h"
#include "dhcp_server_common/CDHCPDDNSStub.h"
#include "dhcp_server_common/CDHCPEvalStub.h"
#include "dhcp_server_common/CDHCPExtensionStub.h"
#include "dhcp_server_common/CDHCPLBalancerStub.h"
#include "dhcp_server_common/CDHCPLeaseQueryStub.h"
#include "dhcp_server_common/CDHCPStatsStub.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/FailureOf.h"

namespace {

// A DDNS plug-in that hands out a fresh service each time.
class CFakeDDNS : public CPlugin, public CIDHCPDDNSFactory {
 public:
  std::string pluginInterface() const override { return "CIDHCPDDNSFactory,CPlugin"; }
  std::shared_ptr<CIDHCPDDNS> createDDNS(CIDHCPContext& context) override {
    lastContext = &context;
    return std::make_shared<CDHCPDDNSStub>();
  }
  std::shared_ptr<CIDHCPDDNS> createBackgroundDDNS() override {
    return std::make_shared<CDHCPDDNSStub>();
  }
  CIDHCPContext* lastContext = nullptr;
};

// Claims the address manager's interface by name but does not implement it.
class CNameOnlyAddrMgr : public CPlugin {
 public:
  std::string pluginInterface() const override { return "CIDHCPAddrMgrFactory,CPlugin"; }
};

void deletePlugin(CPlugin* plugin) {
  delete plugin;
}

struct MediatorFixture : ::testing::Test {
  ~MediatorFixture() override { host.plugins().shutdownPlugins(); }
  std::size_t lines(const std::string& line) {
    return std::count(host.logSink.lines.begin(), host.logSink.lines.end(), line);
  }

  CRecordingController host;
  CDHCP6Context context{&host, true};
  CDHCP6Mediator& mediator = context.dhcpMediator();
};

}  // namespace

TEST_F(MediatorFixture, EveryMissingServiceIsAStubThatAnswersNeutrally) {
  EXPECT_NE(dynamic_cast<CDHCPAddrMgrStub*>(mediator.addrMgr().get()), nullptr);
  EXPECT_NE(dynamic_cast<CDHCPLeaseQueryStub*>(mediator.leaseQuery().get()), nullptr);
  EXPECT_EQ(mediator.extension()->packet_received(), 0);
  EXPECT_NE(dynamic_cast<CDHCPLBalancerStub*>(mediator.lbalancer().get()), nullptr);
  EXPECT_NE(dynamic_cast<CDHCPEvalStub*>(mediator.eval().get()), nullptr);
  EXPECT_NE(dynamic_cast<CDHCPStatsStub*>(
                mediator.createStats(CDHCPMeasurementSpec::forHandlerThread("0", 0, 6)).get()),
            nullptr);
  for (const auto& service :
       {std::shared_ptr<void>(mediator.ddns()), std::shared_ptr<void>(mediator.pktstore()),
        std::shared_ptr<void>(mediator.provisioner()),
        std::shared_ptr<void>(mediator.domainManager()), std::shared_ptr<void>(mediator.ldap()),
        std::shared_ptr<void>(mediator.rewrite()), std::shared_ptr<void>(mediator.ebalancer())})
    EXPECT_NE(service, nullptr);
  // The bus is required of the host; without one there is nothing to publish to.
  EXPECT_EQ(mediator.publisher(), nullptr);
}

TEST_F(MediatorFixture, ServicesAreCachedUntilRefreshAndThenLookedUpAgain) {
  const auto firstDDNS = mediator.ddns();
  const auto firstManager = mediator.addrMgr();
  EXPECT_EQ(mediator.ddns(), firstDDNS);
  EXPECT_EQ(mediator.addrMgr(), firstManager);
  EXPECT_EQ(lines("info: The server is not using an address manager."), 1u);

  auto* plugin = new CFakeDDNS;
  host.plugins().addPlugin(plugin, deletePlugin, nullptr, "ddns");
  host.plugins().openPlugins();
  EXPECT_EQ(mediator.ddns(), firstDDNS);  // still the cached stub

  mediator.refresh();
  const auto fromPlugin = mediator.ddns();
  EXPECT_NE(fromPlugin, firstDDNS);
  EXPECT_EQ(plugin->lastContext, &context);
  EXPECT_EQ(mediator.ddns(), fromPlugin);
  EXPECT_NE(mediator.addrMgr(), firstManager);
  EXPECT_EQ(lines("info: The server is not using an address manager."), 2u);
}

TEST_F(MediatorFixture, APluginThatOnlyClaimsTheInterfaceIsNoFactory) {
  host.plugins().addPlugin(new CNameOnlyAddrMgr, deletePlugin, nullptr, "addr_mgr");
  host.plugins().openPlugins();
  EXPECT_NE(dynamic_cast<CDHCPAddrMgrStub*>(mediator.addrMgr().get()), nullptr);
  EXPECT_EQ(lines("info: The server is not using an address manager."), 1u);
}

TEST(CDHCP6ContextTest, ClonesAreIndependentAndInitIsOnce) {
  CRecordingController host;
  CDHCP6Context master(&host, true);
  const auto clone = master.clone();
  EXPECT_TRUE(master.master());
  EXPECT_FALSE(clone->master());
  EXPECT_EQ(clone->name(), "dhcpv6");
  EXPECT_EQ(clone->family().value(), 6);
  EXPECT_NE(&clone->mediator(), &master.mediator());
  master.init();
  const Failure f = failureOf([&] { master.init(); });
  EXPECT_EQ(f.what + " " + f.why,
            "Failed to initialize a context. Context is already initialized.");
  EXPECT_EQ(f.context, "CDHCP6Context::init");
  clone->init();  // a clone initialises on its own thread
}
