#include <gtest/gtest.h>

#include <sstream>

#include "standard/CConfig.h"
#include "standard/CException.h"
#include "standard/CStringMap.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CStringMap;

TEST(CStringMapTest, CaseInsensitiveKeysCompareUpperCased) {
  CStringMap m(false);
  m.set("failover.max_bndupds_buffered", "1");
  m.set("failover.max_bndupd_size", "2");
  m.set("Engine.A", "3");
  EXPECT_TRUE(m.has("ENGINE.a"));
  m.set("engine.a", "4");  // same key
  EXPECT_EQ(m.size(), 3u);
  std::vector<std::string> order;
  for (const auto& kv : m) order.push_back(kv.first);
  // Upper-cased, '_' (0x5F) sorts after 'S' (0x53): bndupds before bndupd_.
  EXPECT_EQ(order, (std::vector<std::string>{"Engine.A", "failover.max_bndupds_buffered",
                                             "failover.max_bndupd_size"}));
  CStringMap exact(true);
  exact.set("A", "1");
  EXPECT_FALSE(exact.has("a"));
}

TEST(CStringMapTest, TypedGettersParseOrFailNamingKeyAndValue) {
  CStringMap m;
  m.set("dec", "42");
  m.set("hex", "0x10");
  m.set("neg", "-5");
  m.set("big", "4294967296");
  m.set("yes", " On ");
  m.set("junk", "12abc");
  EXPECT_EQ(m.get_uint32("dec", 1), 42u);
  EXPECT_EQ(m.get_uint32("absent", 7), 7u);
  EXPECT_EQ(m.get_int32("hex"), 16);
  EXPECT_EQ(m.get_int64("neg"), -5);
  EXPECT_EQ(m.get_uint64("big"), 4294967296ull);
  EXPECT_TRUE(m.get_bool("yes"));
  EXPECT_EQ(m.get("absent", "d"), "d");
  const std::pair<std::function<void()>, const char*> bad[] = {
      {[&] { m.get_uint32("neg"); }, "Value '-5' is not an unsigned integer."},
      {[&] { m.get_uint32("big"); }, "Value '4294967296' is not an unsigned integer."},
      {[&] { m.get_int32("junk"); }, "Value '12abc' is not an integer."},
      {[&] { m.get_bool("dec"); }, "Value '42' is not a boolean."},
  };
  for (const auto& [call, why] : bad) {
    const Failure f = failureOf(call);
    EXPECT_EQ(f.why, why);
    EXPECT_EQ(f.what.rfind("Cannot read value of key '", 0), 0u);
  }
}

TEST(CStringMapTest, ConfigurationTextForm) {
  std::istringstream in(
      "# comment\n\n  system.plugins = a.so, b.so  \nSYSTEM.index=2\nsystem.index = 3\nempty =\n");
  const nuv::CConfig c = nuv::CConfig::parse(in, "test");
  EXPECT_EQ(c.get("system.plugins"), "a.so, b.so");
  EXPECT_EQ(c.get_uint32("system.index"), 3u);  // later line wins, whatever the case
  EXPECT_TRUE(c.has("empty"));
  std::istringstream bad("ok = 1\nno equals sign here\n");
  EXPECT_EQ(failureOf([&] { nuv::CConfig::parse(bad, "f.conf"); }).what,
            "Cannot read configuration 'f.conf' at line 2.");
}

TEST(CConfigTest, ADirectoryIsNoConfigurationFile) {
  const Failure f = failureOf([] { nuv::CConfig::load("/tmp"); });
  EXPECT_EQ(f.what + " " + f.why, "Cannot open configuration file '/tmp'. It is a directory.");
}
