#include <gtest/gtest.h>

#include <algorithm>

#include "dhcp6_server/CDHCP6Server.h"
#include "tests/fixtures/CSQLiteController.h"
#include "tests/fixtures/PrivateNetns.h"

namespace {

struct ServerFixture : ::testing::Test {
  CSQLiteController host;
  CDHCP6Server server;
  void SetUp() override {
    // The engine binds port 547 and joins groups on every interface.
    PRIVATE_NETNS_REQUIRED();
    server.controller(&host);
    host.plugins().openPlugins();
  }
  std::size_t shutDownLines() {
    std::lock_guard<std::mutex> lock(host.logSink.mutex);
    return std::count(host.logSink.lines.begin(), host.logSink.lines.end(),
                      "debug: The DHCPv6 server has shut down.");
  }
};

}  // namespace

TEST_F(ServerFixture, ThreadCountDefaultsToOneOnlyWhenAbsent) {
  const std::pair<const char*, unsigned> cases[] = {{nullptr, 1}, {"0", 0}, {"3", 3}};
  std::size_t workers = 0;
  for (const auto& [value, expected] : cases) {
    host.mutableConfig().clear();
    if (value) host.mutableConfig().set("ipv6.dhcpv6.engine.thread_count", value);
    ASSERT_EQ(server.runPlugin(), 0);
    ASSERT_NE(server.engine(), nullptr);
    EXPECT_NE(server.context(), nullptr);
    EXPECT_EQ(server.engine()->configuredThreadCount(), expected);
    // No thread configured still runs one worker.
    EXPECT_EQ(server.engine()->threadCount(), std::max(expected, 1u));
    server.shutdownPlugin();
    workers += std::max(expected, 1u);
    EXPECT_EQ(shutDownLines(), workers) << "each worker reports its shutdown";
    EXPECT_EQ(server.engine(), nullptr);
  }
}

TEST_F(ServerFixture, WorkersAnswerTheHostAndEachReportsShutdown) {
  host.mutableConfig().set("ipv6.dhcpv6.engine.thread_count", "3");
  ASSERT_EQ(server.runPlugin(), 0);
  EXPECT_EQ(server.mode(), CSystemMode::init);
  server.pausePlugin();
  server.resumePlugin();
  EXPECT_EQ(server.mode(), CSystemMode::init);
  EXPECT_EQ(server.countBindings(), 0u);
  EXPECT_THROW(server.engine()->run(), nuv::CException);  // already running
  server.shutdownPlugin();
  EXPECT_EQ(shutDownLines(), 3u);
  EXPECT_EQ(host.taskRegistry().size(), 0u);
}
