// Runs the real host executable with the real plug-ins.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/fixtures/TempPath.h"

namespace {

// One dhcp6d process writing into a file the test reads.
class CHostProcess {
 public:
  explicit CHostProcess(const std::string& config) {
    m_conf = tempPath("dhcp6d_test.conf");
    m_out = tempPath("dhcp6d_test.out");
    writeConfig(config);
    m_pid = fork();
    if (m_pid == 0) {
      // The server binds port 547 and joins groups on every interface: in a
      // network namespace of its own nothing of that leaves the test.
      if (geteuid() == 0 && unshare(CLONE_NEWNET) != 0) _exit(97);
      if (!std::freopen(m_out.c_str(), "w", stdout) || !std::freopen(m_out.c_str(), "a", stderr))
        _exit(99);
      execl(NUV_DHCP6D, NUV_DHCP6D, "-c", m_conf.c_str(), static_cast<char*>(nullptr));
      _exit(98);
    }
  }
  ~CHostProcess() {
    if (!m_exited) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, &m_status, 0);
    }
  }

  void writeConfig(const std::string& config) const { std::ofstream(m_conf) << config; }

  std::string output() const {
    std::ifstream in(m_out);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // True when text appears (from position from on) before the process ends
  // or ten seconds pass.
  bool waitFor(const std::string& text, std::size_t from = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (output().find(text, from) != std::string::npos) return true;
      if (!m_exited && waitpid(m_pid, &m_status, WNOHANG) == m_pid) m_exited = true;
      if (m_exited) return output().find(text, from) != std::string::npos;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  void signal(int sig) const { kill(m_pid, sig); }

  // Exit status after sig (0 sends nothing and only waits).
  int stop(int sig) {
    if (!m_exited) {
      if (sig) kill(m_pid, sig);
      waitpid(m_pid, &m_status, 0);
      m_exited = true;
    }
    return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : 128 + WTERMSIG(m_status);
  }

 private:
  std::string m_conf, m_out;
  pid_t m_pid = -1;
  int m_status = 0;
  bool m_exited = false;
};

std::string baseConfig() {
  return std::string("system.plugins = ") + NUV_PLUGIN_DIR +
         "\nsystem.storage.path = " + tempPath("dhcp6d_var") + "\nsystem.log.levels = all\n";
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

}  // namespace

TEST(dhcp6dTest, LoadsAllPluginsAndStopsCleanlyOnInterrupt) {
  CHostProcess host(baseConfig() + "ipv6.dhcpv6.engine.thread_count = 2\n");
  ASSERT_TRUE(host.waitFor("Loaded 6 plugins")) << host.output();
  ASSERT_TRUE(host.waitFor("Plugin 'System Bus' provides CISystemBusFactory."));
  EXPECT_EQ(host.stop(SIGINT), 0);
  const std::string out = host.output();
  EXPECT_NE(out.find("Loaded 6 plugins: Address Manager, DHCPv6 Server, PostgreSQL Database, "
                     "SQLite Database, Statistics, System Bus."),
            std::string::npos);
  for (const char* name : {"Address Manager", "DHCPv6 Server", "PostgreSQL Database",
                           "SQLite Database", "Statistics", "System Bus"})
    EXPECT_EQ(count(out, std::string("Unloading plugin '") + name + "'."), 1u) << name << "\n"
                                                                               << out;
  EXPECT_EQ(count(out, "The DHCPv6 server has shut down."), 2u) << out;  // one per worker
}

TEST(dhcp6dTest, UnknownKeyStopsTheStartWithAClearMessage) {
  CHostProcess host(baseConfig() + "engine.thread_cuont = 2\n");
  EXPECT_NE(host.stop(0), 0);
  EXPECT_NE(host.output().find(
                "Cannot validate configuration key 'engine.thread_cuont'. (Unrecognized key.)"),
            std::string::npos)
      << host.output();
}

TEST(dhcp6dTest, ServerWithoutTheSystemBusIsNeverOpened) {
  const std::string dir = NUV_PLUGIN_DIR;
  CHostProcess host("system.plugins = " + dir + "/sqlite_db.so, " + dir + "/addr_mgr.so, " + dir +
                    "/dhcp6_server.so\nsystem.storage.path = " + tempPath("dhcp6d_var") + "\n");
  EXPECT_TRUE(
      host.waitFor("Dependency failure for plugin 'DHCPv6 Server'. This plugin requires: "
                   "'CIDatabaseInit,CIDHCPAddrMgrFactory,CISystemBusFactory'."))
      << host.output();
  host.stop(SIGTERM);
}

TEST(dhcp6dTest, HangupRereadsTheConfigurationAndKeepsTheOldOneWhenInvalid) {
  CHostProcess host(baseConfig());
  ASSERT_TRUE(host.waitFor("Loaded 6 plugins")) << host.output();
  host.writeConfig(baseConfig() + "no.such.key = 1\n");
  host.signal(SIGHUP);
  EXPECT_TRUE(
      host.waitFor("Keeping the current configuration: Cannot validate configuration key "
                   "'no.such.key'."))
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
