#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "dhcp6_server/CDHCP6Engine.h"
#include "dhcp6_server/CDHCP6TLS.h"
#include "plugins/system_bus/CSystemBusPlugin.h"
#include "tests/fixtures/CSQLiteController.h"
#include "tests/fixtures/CWatchdog.h"
#include "tests/fixtures/PrivateNetns.h"

namespace {

using namespace std::chrono_literals;

struct EngineFixture : ::testing::Test {
  void SetUp() override {
    PRIVATE_NETNS_REQUIRED();
    bus = new CSystemBusPlugin;
    host.plugins().addPlugin(
        bus, [](CPlugin* p) { delete p; }, nullptr, "system_bus");
    host.plugins().openPlugins();
  }
  void TearDown() override { host.plugins().shutdownPlugins(); }

  std::size_t lines(const std::string& line) {
    std::lock_guard<std::mutex> lock(host.logSink.mutex);
    return std::count(host.logSink.lines.begin(), host.logSink.lines.end(), line);
  }
  // Waits (bounded) until the line has been logged n times.
  bool waitLines(const std::string& line, std::size_t n) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (lines(line) < n && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(5ms);
    return lines(line) == n;
  }
  void publish(std::shared_ptr<CAppEvent> event) {
    bus->createBus("test")->publish(std::move(event), 0);
  }

  CWatchdog watchdog;
  CSQLiteController host;
  CSystemBusPlugin* bus = nullptr;
};

}  // namespace

TEST_F(EngineFixture, ModeEventSwitchesEveryThreadOnceOnItsOwnThread) {
  CDHCP6Engine engine(&host, 3);
  ASSERT_EQ(engine.run(), 0);
  EXPECT_EQ(engine.mode(), CSystemMode::init);
  publish(std::make_shared<CModeEvent>(0, "paused"));
  EXPECT_TRUE(waitLines("audit: The engine is switching from mode 'init' to mode 'paused'.", 3));
  publish(std::make_shared<CModeEvent>(0, "learning"));
  EXPECT_TRUE(
      waitLines("audit: The engine is switching from mode 'paused' to mode 'learning'.", 3));
  EXPECT_EQ(engine.mode(), CSystemMode::learning);
  engine.shutdown();
  EXPECT_EQ(lines("debug: The DHCPv6 server has shut down."), 3u);
}
