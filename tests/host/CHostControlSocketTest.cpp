#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "extended/CISystemBus.h"
#include "host/CHostControlSocket.h"
#include "host/CHostController.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/FailureOf.h"
#include "tests/fixtures/TempPath.h"

namespace {

// Events as they arrive, on whatever thread delivers them.
class CEventInbox : public CIEventSubscriber {
 public:
  void event(const std::shared_ptr<const CAppEvent>& e) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.push_back(e);
    m_cv.notify_all();
  }
  std::shared_ptr<const CAppEvent> wait(std::size_t index = 0) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait_for(lock, std::chrono::seconds(5), [&] { return m_events.size() > index; });
    return m_events.size() > index ? m_events[index] : nullptr;
  }
  std::size_t count() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events.size();
  }
  // Waits (5 s at most) for an event "<class> <instance>"; false when none came.
  bool waitFor(const std::string& name) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cv.wait_for(lock, std::chrono::seconds(5), [&] { return _has(name); });
  }
  std::set<std::string> names() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::set<std::string> out;
    for (const auto& e : m_events) out.insert(e->evtClass + " " + e->evtInstance);
    return out;
  }

 private:
  bool _has(const std::string& name) const {
    for (const auto& e : m_events)
      if (e->evtClass + " " + e->evtInstance == name) return true;
    return false;
  }
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<std::shared_ptr<const CAppEvent>> m_events;
};

class CHostControlSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = tempPath("ctl_socket");
    std::filesystem::create_directories(dir);
    path = CHostControlSocket::pathIn(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::unique_ptr<CHostControlSocket> listen() {
    return std::make_unique<CHostControlSocket>(
        path, 3, [this](std::shared_ptr<CAppEvent> e) { inbox.event(e); }, log);
  }

  std::string dir, path;
  CRecordingLog log;
  CEventInbox inbox;
};

}  // namespace

TEST(CHostControlSocketMessage, OnlyWellFormedMessagesNameAnEvent) {
  auto e =
      CHostControlSocket::parse(CHostControlSocket::message("modify", "dhcp_policies6", 12), 4);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->evtType, "modify");
  EXPECT_EQ(e->evtClass, "dhcp_policies6");
  EXPECT_EQ(e->evtInstance, "12");
  EXPECT_EQ(e->serverIndex, 4);
  EXPECT_TRUE(CHostControlSocket::parse("  del   dhcp_apools6  7 \n", 0));
  for (const char* bad :
       {"", "modify", "modify dhcp_policies6", "update dhcp_policies6 1", "add DHCP_POLICIES6 1",
        "add dhcp-policies6 1", "add dhcp_apools6 -1", "add dhcp_apools6 12x",
        "add dhcp_apools6 1 2", "add dhcp_apools6 9999999999999999999"})
    EXPECT_FALSE(CHostControlSocket::parse(bad, 0)) << bad;
  EXPECT_FALSE(CHostControlSocket::parse("add " + std::string(65, 't') + " 1", 0));
}

TEST(CHostControlSocketMessage, OperatorModesOnlyAreModeEvents) {
  for (const char* mode : {"servicing", "learning", "paused"}) {
    auto e = CHostControlSocket::parse(CHostControlSocket::modeMessage(mode), 0);
    ASSERT_TRUE(e) << mode;
    EXPECT_EQ(e->evtClass, CAppEvent::kClassMode);
    EXPECT_EQ(e->evtInstance, mode);
  }
  for (const char* bad : {"mode", "mode init", "mode shutdown", "mode learning now", "mode 5"})
    EXPECT_FALSE(CHostControlSocket::parse(bad, 0)) << bad;
}

TEST_F(CHostControlSocketTest, OwnerOnlySocketDeliversEventsAndIsRemovedAtTheEnd) {
  auto socket = listen();
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISSOCK(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  ASSERT_TRUE(CHostControlSocket::send(path, "bogus\n"));
  ASSERT_TRUE(
      CHostControlSocket::send(path, CHostControlSocket::message("add", "dhcp_apools6", 9)));
  auto e = inbox.wait();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->evtClass, "dhcp_apools6");
  EXPECT_EQ(e->evtInstance, "9");
  EXPECT_EQ(e->serverIndex, 3);
  EXPECT_EQ(inbox.count(), 1u);  // the malformed one was dropped, and said so
  EXPECT_TRUE(log.contains("Ignoring a malformed control message 'bogus'."));

  socket.reset();
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(CHostControlSocket::send(path, "add dhcp_apools6 1\n"));
}

TEST_F(CHostControlSocketTest, StaleFileIsReplacedButALiveListenerIsNot) {
  {
    // A host that died leaves its socket file behind.
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    close(fd);
  }
  EXPECT_FALSE(CHostControlSocket::send(path, "add dhcp_apools6 1\n"));
  auto first = listen();
  EXPECT_EQ(failureOf([&] { listen(); }),
            (Failure{"host", "CHostControlSocket::CHostControlSocket",
                     "Cannot listen on control socket '" + path + "'.",
                     "Another host is listening on it."}));
  ASSERT_TRUE(CHostControlSocket::send(path, "del dhcp_npools6 5\n"));
  ASSERT_TRUE(inbox.wait());
}

TEST_F(CHostControlSocketTest, ABurstFromManySendersArrivesAsFewEventsLosingNoChange) {
  auto socket = listen();
  constexpr int kSenders = 20;
  constexpr int kEach = 200;
  std::vector<std::thread> senders;
  for (int s = 0; s < kSenders; ++s)
    senders.emplace_back([this] {
      for (int i = 0; i < kEach; ++i)
        CHostControlSocket::send(path,
                                 CHostControlSocket::message("modify", "dhcp_apools6", i % 10));
    });
  for (auto& t : senders) t.join();
  // A change after the burst still arrives, and every one before it did.
  ASSERT_TRUE(CHostControlSocket::send(path, "modify dhcp_policies6 77\n"));
  ASSERT_TRUE(inbox.waitFor("dhcp_policies6 77")) << log.text();
  const std::set<std::string> names = inbox.names();
  for (int oid = 0; oid < 10; ++oid)
    EXPECT_TRUE(names.count("dhcp_apools6 " + std::to_string(oid)) || names.count("dhcp_apools6 "))
        << oid;
  // 4,001 messages: 50 events a second at most, plus what waited merged.
  EXPECT_LT(inbox.count(), 1000u);
  EXPECT_TRUE(log.contains("Control messages arrive faster than 50 a second")) << log.text();
}

namespace {

// The host runs only with a server; this one serves nothing.
class CIdleServer : public CPlugin {
 public:
  std::string pluginName() const override { return "idle server"; }
  std::string pluginInterface() const override { return "CIDHCPServer,CPlugin"; }
};

void deleteIdleServer(CPlugin* plugin) {
  delete plugin;
}

}  // namespace

TEST_F(CHostControlSocketTest, RunningHostPublishesReceivedChangesOnTheSystemBus) {
  nuv::CConfig config;
  config.set("system.plugins", std::string(NUV_PLUGIN_DIR) + "/system_bus.so");
  config.set("system.storage.path", dir);
  config.set("system.log.levels", "error");
  config.set("system.index", "2");
  CHostController host(std::move(config));
  host.plugins().addPlugin(new CIdleServer, deleteIdleServer, nullptr, "idle server");
  host.start();
  ASSERT_TRUE(host.run());
  auto factories = host.findPluginTypes("CISystemBusFactory");
  ASSERT_EQ(factories.size(), 1u);
  auto bus = dynamic_cast<CISystemBusFactory*>(factories[0])->createBus("test");
  bus->subscribe(&inbox, {"dhcp_policies6"});

  ASSERT_TRUE(
      CHostControlSocket::send(path, CHostControlSocket::message("modify", "dhcp_policies6", 2)));
  auto e = inbox.wait();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->sm().get("event_type"), "modify");
  EXPECT_EQ(e->sm().get("event_instance"), "2");
  EXPECT_EQ(e->serverIndex, 2);
  bus->unsubscribe(&inbox);

  // Status queries are answered to the asker, as on the DHCP port.
  struct Case {
    const char* query;
    const char* answer;
  } cases[] = {
      {"query_mode\n", "mode=servicing\n"},
      {"query_nothing\n", "unknown_query\n"},
  };
  for (const Case& c : cases) {
    std::string answer;
    EXPECT_TRUE(CHostControlSocket::query(path, c.query, answer)) << c.query;
    EXPECT_EQ(answer, c.answer) << c.query;
  }
  EXPECT_EQ(inbox.count(), 1u);  // a query is no change
  host.stop();
  EXPECT_FALSE(std::filesystem::exists(path));
  std::string answer;
  EXPECT_FALSE(CHostControlSocket::query(path, "query_mode", answer, 100));
}
