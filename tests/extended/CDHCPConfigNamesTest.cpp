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
      {CDHCPConfigNames::daemonListenOn(6), "ipv6.dhcpv6.engine.listen_on"},
      {CDHCPConfigNames::pendingGarbageInterval(6), "ipv6.dhcpv6.engine.pendings.garbage_interval"},
      {CDHCPConfigNames::maxEngineOptionPoolSize(6), "ipv6.dhcpv6.engine.max_options"},
      {CDHCPConfigNames::engineSharedConnections(4), "ipv4.dhcpv4.engine.db.shared_connections"},
      {CDHCPConfigNames::vendorsFile(6), "ipv6.dhcpv6.vendors.specfile"},
      {CDHCPConfigNames::serverDUID(), "system.duid"},
      {CDHCPConfigNames::debugNoSend(), "system.debug.no_send"},
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
  // 50 process-wide names, 19 read by this server, 69 of the services beside
  // it, the host's own, six of the DNS update plug-in and the metrics
  // endpoint.
  EXPECT_EQ(names.all().size(), 147u);
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

TEST(CDHCPConfigNamesTest, QuotedDescriptionsStandExactly) {
  const CDHCPConfigNames names(6);
  const std::pair<const char*, const char*> cases[] = {
      {"ipv6.dhcpv6.engine.thread_count",
       "int - The number of engine threads to be created. The default is to create one engine "
       "thread only."},
      {"ipv6.dhcpv6.engine.pendings.garbage_interval",
       "int - The interval at which garbage pending records should be cleaned. (0 = never)"},
      {"system.duid", "byte sequence - This server's device unique identifier (duid)."},
      {"stats.sample_rate",
       "boolean - The rate, in seconds, at which system counters are sampled and stored. The "
       "default is 60 seconds."},
      {"stats.retention_age",
       "time span - The minimum retention age for system samples. After this age, samples are "
       "overwritten with newer sampled data. The default is 30:::, 30 days, 0 hrs, 0 min, 0 sec."},
      {"ipv6.dhcpv6.reclaimer.transients_max_ttl",
       "int - Maximum time a transient record can exist. This value must well exceed any normal "
       "cleanup of transients.It's supposed to avoid permanent loss of addresses when an error "
       "has occured. The default is 600."},
      {"ipv6.dhcpv6.lbalancer.local.hba",
       "byte sequence - Hash bucket assignment for one member of a DHCP server pair. A sequence "
       "of 32 bytes of the form XX-XX-XX, where each bit of the bytes represents a hash bucket "
       "assignment. The format is described in RFC 3074."},
  };
  for (const auto& [name, description] : cases) EXPECT_EQ(names.description(name), description);
}

TEST(CDHCPConfigNamesTest, DefaultSchemaNumberIs30) {
  const CDHCPConfigNames names;
  const nuv::CConfigNames& base = names;
  EXPECT_EQ(base.dbValueDefaultSchemaVersionNumber(), 31);
}
