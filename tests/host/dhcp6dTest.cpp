// Runs the real host executable with the real plug-ins.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "tests/fixtures/CHostProcess.h"

namespace {

// The server binds port 547 and joins groups on every interface: in a
// network namespace of its own nothing of that leaves the test.
class CHost : public CHostProcess {
 public:
  explicit CHost(const std::string& config) : CHostProcess(NUV_DHCP6D, config, true) {}
};

std::string baseConfig() {
  return std::string("system.plugins = ") + NUV_PLUGIN_DIR +
         "\nsystem.storage.path = " + tempPath("dhcp6d_var") + "\nsystem.log.levels = all\n";
}

}  // namespace

TEST(dhcp6dTest, LoadsAllPluginsAndStopsCleanlyOnInterrupt) {
  CHost host(baseConfig() + "ipv6.dhcpv6.engine.thread_count = 2\n");
  ASSERT_TRUE(host.waitFor("Loaded 9 plugins")) << host.output();
  ASSERT_TRUE(host.waitFor("Plugin 'System Bus' provides CISystemBusFactory."));
  EXPECT_EQ(host.stop(SIGINT), 0);
  const std::string out = host.output();
  EXPECT_NE(out.find("Loaded 9 plugins: Address Manager, DNS Updates, DHCPv6 Server, "
                     "Expression Evaluator, Metrics, PostgreSQL Database, SQLite Database, "
                     "Statistics, System Bus."),
            std::string::npos);
  for (const char* name :
       {"Address Manager", "DNS Updates", "DHCPv6 Server", "Expression Evaluator", "Metrics",
        "PostgreSQL Database", "SQLite Database", "Statistics", "System Bus"})
    EXPECT_EQ(host.count(std::string("Unloading plugin '") + name + "'."), 1u) << name << "\n"
                                                                               << out;
  EXPECT_EQ(host.count("The DHCPv6 server has shut down."), 2u) << out;  // one per worker
}

TEST(dhcp6dTest, StoredStateIsTheOwnersOnly) {
  const std::string var = tempPath("dhcp6d_modes");
  std::system(("rm -rf " + var).c_str());
  CHost host(std::string("system.plugins = ") + NUV_PLUGIN_DIR + "\nsystem.storage.path = " + var +
             "\nsystem.log.levels = all\n");
  ASSERT_TRUE(host.waitFor("Switching the server to mode 'servicing'")) << host.output();
  const auto mode = [](const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
  };
  EXPECT_EQ(mode(var), 0750);
  for (const char* file : {"/dhcp6d.db", "/dhcp6d.db-wal", "/dhcp6d.db-shm"})
    EXPECT_EQ(mode(var + file), 0600) << file;
  EXPECT_EQ(host.stop(SIGTERM), 0);
}

TEST(dhcp6dTest, UnknownKeyStopsTheStartWithAClearMessage) {
  CHost host(baseConfig() + "engine.thread_cuont = 2\n");
  EXPECT_NE(host.stop(0), 0);
  EXPECT_NE(host.output().find(
                "Cannot validate configuration key 'engine.thread_cuont'. (Unrecognized key.)"),
            std::string::npos)
      << host.output();
}

TEST(dhcp6dTest, ServerWithoutTheSystemBusIsNeverOpened) {
  const std::string dir = NUV_PLUGIN_DIR;
  CHost host("system.plugins = " + dir + "/sqlite_db.so, " + dir + "/addr_mgr.so, " + dir +
             "/dhcp6_server.so\nsystem.storage.path = " + tempPath("dhcp6d_var") + "\n");
  EXPECT_TRUE(
      host.waitFor("Dependency failure for plugin 'DHCPv6 Server'. This plugin requires: "
                   "'CIDatabaseInit,CIDHCPAddrMgrFactory,CISystemBusFactory'."))
      << host.output();
  host.stop(SIGTERM);
}

TEST(dhcp6dTest, AHostWhoseServerDoesNotRunExitsWithTheCause) {
  const std::string dir = NUV_PLUGIN_DIR;
  const struct {
    const char* what;
    std::string config;
    const char* cause;
  } cases[] = {
      {"a negative thread count", baseConfig() + "ipv6.dhcpv6.engine.thread_count = -1\n",
       "Cannot validate configuration key 'ipv6.dhcpv6.engine.thread_count'. (Value '-1' is "
       "negative.)"},
      {"a thread count that is no number",
       baseConfig() + "ipv6.dhcpv6.engine.thread_count = many\n",
       "(Value 'many' is not an integer.)"},
      {"too many threads", baseConfig() + "ipv6.dhcpv6.engine.thread_count = 100000\n",
       "Cannot start 100000 worker threads. (The key 'ipv6.dhcpv6.engine.thread_count' takes "
       "at most 256.)"},
      {"no server plug-in",
       "system.plugins = " + dir + "/sqlite_db.so, " + dir + "/system_bus.so, " + dir +
           "/stats.so\nsystem.storage.path = " + tempPath("dhcp6d_var") + "\n",
       "Cannot start without a DHCP server plug-in. (None of the plug-ins named by "
       "'system.plugins' provides CIDHCPServer.)"},
  };
  for (const auto& c : cases) {
    CHost host(c.config);
    // It stops by itself; the signal only bounds a failure of this test.
    ASSERT_TRUE(host.waitForExit()) << c.what << "\n" << host.output();
    EXPECT_NE(host.stop(SIGTERM), 0) << c.what;
    EXPECT_NE(host.output().find(c.cause), std::string::npos) << c.what << "\n" << host.output();
    EXPECT_EQ(host.output().find("Switching the server to mode 'servicing'"), std::string::npos)
        << c.what;
  }
}

TEST(dhcp6dTest, HangupRereadsTheConfigurationAndKeepsTheOldOneWhenInvalid) {
  CHost host(baseConfig());
  ASSERT_TRUE(host.waitFor("Loaded 9 plugins")) << host.output();
  host.writeConfig(baseConfig() + "no.such.key = 1\n");
  host.signal(SIGHUP);
  EXPECT_TRUE(
      host.waitFor("Keeping the current configuration: Cannot validate configuration key "
                   "'no.such.key'."))
      << host.output();
  host.writeConfig("");
  host.signal(SIGHUP);
  EXPECT_TRUE(
      host.waitFor("Keeping the current configuration: Cannot use the new configuration. "
                   "(It holds no settings.)"))
      << host.output();
  host.writeConfig(baseConfig() + "system.index = 2\n");
  host.signal(SIGHUP);
  EXPECT_TRUE(host.waitFor("Configuration reloaded.")) << host.output();
  host.signal(SIGUSR1);
  EXPECT_TRUE(host.waitFor("Switching the server to mode 'paused'.")) << host.output();
  // The host switched to "servicing" once at start; look beyond that.
  const std::size_t paused = host.output().find("Switching the server to mode 'paused'.");
  host.signal(SIGUSR2);
  EXPECT_TRUE(host.waitFor("Switching the server to mode 'servicing'.", paused)) << host.output();
  EXPECT_EQ(host.stop(SIGTERM), 0);
}
