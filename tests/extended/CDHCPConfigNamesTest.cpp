#include <gtest/gtest.h>

#include "extended/CDHCPConfigNames.h"
#include "standard/CException.h"

using K = CDHCPConfigNames::DHCPKey;

TEST(CDHCPConfigNamesTest, AccessorsFormTheFamilyScopedNames) {
  struct Case {
    std::string name;
    const char* expected;
  };
  const Case cases[] = {
      {CDHCPConfigNames::engineThreadCount(4), "ipv4.dhcpv4.engine.thread_count"},
      {CDHCPConfigNames::engineThreadCount(6), "ipv6.dhcpv6.engine.thread_count"},
      {CDHCPConfigNames::keyName(K::lbalancerLocalHba, 6), "ipv6.dhcpv6.lbalancer.local.hba"},
      // Family-free keys stand as written, even those spelled for DHCPv4.
      {CDHCPConfigNames::keyName(K::syncInterval, 6), "sync.interval"},
      {CDHCPConfigNames::keyName(K::dhcpv4DynamicBootp, 6), "ipv4.dhcpv4.engine.dynamic_bootp"},
      {CDHCPConfigNames::keyName(nuv::CConfigNames::Key::plugins), "system.plugins"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.name, c.expected);
}

TEST(CDHCPConfigNamesTest, RegistersTheKeysOfOneFamily) {
  const CDHCPConfigNames names(6);
  EXPECT_TRUE(names.nameExists("ipv6.dhcpv6.ddns.tsig.secret"));
  EXPECT_TRUE(names.nameExists("IPV6.DHCPV6.ENGINE.THREAD_COUNT"));
  EXPECT_TRUE(names.nameExists("stats.metrics.listen_on"));
  EXPECT_TRUE(names.nameExists("ipv6.dhcpv6.failover.force_updreqall"));
  EXPECT_TRUE(names.nameExists("stats.retention_age"));
  EXPECT_FALSE(names.nameExists(CDHCPConfigNames::engineThreadCount(4)));
  EXPECT_FALSE(names.nameExists(CDHCPConfigNames::debugNoSend()));
  EXPECT_FALSE(names.nameExists("ipv6.dhcpv6.sync.interval"));

  nuv::CStringMap config(false);
  config.set("IPV6.DHCPV6.ENGINE.THREAD_COUNT", "4");
  config.set(CDHCPConfigNames::serverDUID(), "00:01");
  EXPECT_NO_THROW(names.validate(config));
  config.set(CDHCPConfigNames::debugNoSend(), "true");
  EXPECT_THROW(names.validate(config), nuv::CException);
}
