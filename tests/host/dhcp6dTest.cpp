// Runs the real host executable with the real plug-ins.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

struct HostRun {
  int status = -1;
  std::string output;
};

// Starts dhcp6d on a configuration, waits until its output contains
// readyText (or it exits), then sends sig and collects everything.
HostRun runHost(const std::string& config, const char* readyText, int sig) {
  const std::string dir = testing::TempDir();
  const std::string confPath = dir + "dhcp6d_test.conf", outPath = dir + "dhcp6d_test.out";
  std::ofstream(confPath) << config;
  const pid_t pid = fork();
  if (pid == 0) {
    if (!std::freopen(outPath.c_str(), "w", stdout) || !std::freopen(outPath.c_str(), "a", stderr))
      _exit(99);
    execl(NUV_DHCP6D, NUV_DHCP6D, "-c", confPath.c_str(), static_cast<char*>(nullptr));
    _exit(98);
  }
  HostRun run;
  auto readOut = [&] {
    std::ifstream in(outPath);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool exited = false;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid, &run.status, WNOHANG) == pid) {
      exited = true;
      break;
    }
    if (readOut().find(readyText) != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!exited) {
    kill(pid, sig);
    waitpid(pid, &run.status, 0);
  }
  run.output = readOut();
  return run;
}

std::string baseConfig() {
  return std::string("system.plugins = ") + NUV_PLUGIN_DIR +
         "\nsystem.storage.path = " + testing::TempDir() + "dhcp6d_var\nsystem.log.levels = all\n";
}

}  // namespace

TEST(dhcp6dTest, LoadsAllFourPluginsAndStopsCleanlyOnInterrupt) {
  const HostRun run =
      runHost(baseConfig() + "ipv6.dhcpv6.engine.thread_count = 2\n", "Loaded 4 plugins", SIGINT);
  ASSERT_TRUE(WIFEXITED(run.status)) << run.output;
  EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.output;
  for (const char* name : {"Address Manager", "DHCPv6 Server", "SQLite Database", "System Bus"})
    EXPECT_NE(run.output.find(std::string("Unloading plugin '") + name + "'."), std::string::npos)
        << name << "\n"
        << run.output;
  EXPECT_NE(run.output.find(
                "Loaded 4 plugins: Address Manager, DHCPv6 Server, SQLite Database, System Bus."),
            std::string::npos);
  // Two workers, each reports its end.
  std::size_t n = 0;
  for (std::size_t p = run.output.find("The DHCPv6 server has shut down."); p != std::string::npos;
       p = run.output.find("The DHCPv6 server has shut down.", p + 1))
    ++n;
  EXPECT_EQ(n, 2u) << run.output;
}

TEST(dhcp6dTest, UnknownKeyStopsTheStartWithAClearMessage) {
  const HostRun run = runHost(baseConfig() + "engine.thread_cuont = 2\n", "never", SIGTERM);
  ASSERT_TRUE(WIFEXITED(run.status));
  EXPECT_NE(WEXITSTATUS(run.status), 0);
  EXPECT_NE(run.output.find(
                "Cannot validate configuration key 'engine.thread_cuont'. (Unrecognized key.)"),
            std::string::npos)
      << run.output;
}

TEST(dhcp6dTest, ServerWithoutTheSystemBusIsNeverOpened) {
  const std::string plugins = std::string(NUV_PLUGIN_DIR) + "/sqlite_db.so, " + NUV_PLUGIN_DIR +
                              "/addr_mgr.so, " + NUV_PLUGIN_DIR + "/dhcp6_server.so";
  const HostRun run = runHost("system.plugins = " + plugins +
                                  "\nsystem.storage.path = " + testing::TempDir() + "dhcp6d_var\n",
                              "Dependency failure", SIGTERM);
  EXPECT_NE(run.output.find("Dependency failure for plugin 'DHCPv6 Server'. This plugin requires: "
                            "'CIDatabaseInit,CIDHCPAddrMgrFactory,CISystemBusFactory'."),
            std::string::npos)
      << run.output;
}
