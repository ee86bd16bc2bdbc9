#include <gtest/gtest.h>

#include <sstream>

#include "dhcp6_server/CDHCP6TLS.h"
#include "tests/fixtures/CSQLiteController.h"

namespace {

// "noTransmit authoritative matchLocalSegmentPools deleteOnRelease
// maxRecvDatagram maxPendingAge maxOptions"
std::string settings(const CDHCP6TLS& tls) {
  std::ostringstream out;
  out << std::boolalpha << tls.noTransmit() << ' ' << tls.authoritative() << ' '
      << tls.matchLocalSegmentPools() << ' ' << tls.deleteOnRelease() << ' '
      << tls.maxRecvDatagram() << ' ' << tls.maxPendingAge() << ' ' << tls.maxOptions();
  return out.str();
}

struct TLSFixture : ::testing::Test {
  void SetUp() override { host.plugins().openPlugins(); }
  void set(const char* suffix, const char* value) {
    host.mutableConfig().set(std::string("ipv6.dhcpv6.") + suffix, value);
  }
  CSQLiteController host;
  CDHCP6TLS tls{nullptr, 0, &host, nullptr};
};

}  // namespace

TEST_F(TLSFixture, WithoutConfigurationTheDefaultsServe) {
  tls.init();
  EXPECT_EQ(settings(tls), "false true true false 65535 10 2000");
  EXPECT_EQ(tls.rawPktData().packetSize(), 65535u);
  EXPECT_EQ(tls.rawPktData().packetCount(), 10u);
  EXPECT_EQ(tls.mode(), CSystemMode::init);
  EXPECT_TRUE(tls.context().master());
}

TEST_F(TLSFixture, ConfiguredValuesAreReadAndSmallDatagramLimitsRaised) {
  set("engine.max_dg_rcv", "1000");
  set("engine.pendings.max_age", "30");
  set("engine.delete_on_release", "true");
  set("engine.authoritative", "false");
  set("engine.match_local_segment_pools", "false");
  set("engine.max_options", "500");
  host.mutableConfig().set("system.debug.no_send", "true");
  tls.init();
  EXPECT_EQ(settings(tls), "true false false true 4096 30 500");
  EXPECT_EQ(tls.rawPktData().packetSize(), 4096u);

  set("engine.max_dg_rcv", "9000");
  tls.refreshConfig();
  EXPECT_EQ(tls.maxRecvDatagram(), 9000u);
  EXPECT_EQ(tls.rawPktData().packetSize(), 9000u);
}

TEST_F(TLSFixture, AnUnreadableOrVanishedValueKeepsTheCurrentOne) {
  set("engine.pendings.max_age", "30");
  tls.init();
  host.mutableConfig().clear();
  set("engine.pendings.max_age", "soon");
  tls.refreshConfig();
  EXPECT_EQ(tls.maxPendingAge(), 30);
  EXPECT_TRUE(host.logSink.contains("engine.pendings.max_age")) << host.logSink.lines.size();
  host.mutableConfig().clear();
  tls.refreshConfig();
  EXPECT_EQ(tls.maxPendingAge(), 30);
}

TEST_F(TLSFixture, ClonesTheMasterContextGivenToIt) {
  tls.init();
  CDHCP6TLS other(nullptr, 1, &host, &tls.context());
  other.init();
  EXPECT_FALSE(other.context().master());
}
