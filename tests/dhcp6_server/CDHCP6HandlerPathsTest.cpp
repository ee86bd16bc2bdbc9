// What happens after a datagram was read as a message: transaction, side
// commands by outcome, failure paths and the reply, with a scripted
// exchange standing in for the message framing.
#include <gtest/gtest.h>

#include <functional>

#include "dhcp6_server/CDHCP6Handler.h"
#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_server_common/CIDHCPPktStore.h"
#include "extended/CICommandQueueTask.h"
#include "plugins/system_bus/CSystemBusPlugin.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/PrivateNetns.h"

namespace {

class CInlineTask : public CICommandQueueTask {
 public:
  void sendCommand(const CAsyncCommandPtr&) override {}
  const std::string& taskName() const override { return m_name; }
  bool deferredDispatch(CICommandQueueTaskHandler*, void*) override { return false; }
  long myThreadIndex() const override { return 0; }

 private:
  std::string m_name = "inline";
};

// Every message is a Leasequery whose outcome the test scripts; a reply is
// a fixed Reply.
class CScriptedExchange : public CIDHCP6Exchange {
 public:
  std::uint8_t parseRequest(const std::uint8_t*, std::size_t, const nuv::CIPAddress&,
                            const nuv::CIPAddress&, const nuv::CHexStore&) override {
    return 14;
  }
  std::uint32_t startReply(const nuv::CHexStore&, nuv::CIPAddress& link) override {
    link = nuv::CIPAddress("::");
    return 0x123456;
  }
  unsigned relayCount() const override { return 0; }
  int leaseQuery(CIDHCPLeaseQuery&) override {
    m_events.push_back(std::make_shared<CAppEvent>(0, "obtain", "address_lease"));
    return outcome();
  }
  const std::uint8_t* serializeReply(std::size_t& length, std::uint8_t& type) override {
    length = sizeof m_reply;
    type = m_reply[0];
    return m_reply;
  }
  CDHCPPktIdentity requestIdentity() const override { return {}; }
  CDHCPPktIdentity replyIdentity() const override { return {}; }
  std::string requestText() const override { return "request"; }
  std::string replyText() const override { return "reply"; }
  CAppEventQueue& eventQueue() override { return m_events; }
  void clear() override { m_events.clear(); }

  std::function<int()> outcome;

 private:
  CAppEventQueue m_events;
  std::uint8_t m_reply[4] = {7, 0x12, 0x34, 0x56};
};

// Records what the packet store is given.
class CRecordingPktStore : public CPlugin, public CIDHCPPktStoreFactory, public CIDHCPPktStore {
 public:
  std::string pluginInterface() const override { return "CIDHCPPktStoreFactory,CPlugin"; }
  std::shared_ptr<CIDHCPPktStore> createPktStore(CIDHCPContext&) override {
    return std::shared_ptr<CIDHCPPktStore>(std::shared_ptr<void>(), this);
  }
  void inputFromNode(const CAccessID&, std::uint8_t type, const nuv::CHexStore&,
                     const nuv::CHexStore&, const nuv::CHexStore&, const nuv::CHexStore&,
                     const std::string& text, const std::uint8_t*, std::size_t length) override {
    calls.push_back("in " + std::to_string(type) + " " + text + " " + std::to_string(length));
  }
  void outputToNode(const CAccessID&, std::uint8_t type, std::uint8_t request,
                    const nuv::CHexStore&, const nuv::CHexStore&, const nuv::CHexStore&,
                    const nuv::CHexStore&, const std::string& text, const std::uint8_t*,
                    std::size_t length) override {
    calls.push_back("out " + std::to_string(type) + "/" + std::to_string(request) + " " + text +
                    " " + std::to_string(length));
  }
  std::vector<std::string> calls;
};

struct CLeaseEvents : CIEventSubscriber {
  void event(const std::shared_ptr<const CAppEvent>& e) override { seen.push_back(e->evtType); }
  std::vector<std::string> seen;
};

void deletePlugin(CPlugin* plugin) {
  delete plugin;
}

struct PathsFixture : ::testing::Test {
  void SetUp() override {
    PRIVATE_NETNS_REQUIRED();
    store = new CRecordingPktStore;
    bus = new CSystemBusPlugin;
    host.addPlugin(store, deletePlugin, nullptr, "pktstore");
    host.addPlugin(bus, deletePlugin, nullptr, "bus");
    host.openPlugins();
    bus->createBus("test")->subscribe(&leases, {"address_lease"});
    tls = std::make_unique<CDHCP6TLS>(&task, 0, &host, nullptr);
    tls->init();
    tls->mode(CSystemMode::servicing);
    auto scripted = std::make_unique<CScriptedExchange>();
    exchange = scripted.get();
    tls->context().exchange(std::move(scripted));
    pool.insert(0, tls.get());
    ASSERT_EQ(server.open(nuv::CEndpoint("[::1]:0")), 0);
    ASSERT_EQ(client.open(nuv::CEndpoint("[::1]:0")), 0);
    sockaddr_in6 sa{};
    socklen_t len = sizeof sa;
    getsockname(server.get_handle(), reinterpret_cast<sockaddr*>(&sa), &len);
    serverEndpoint = nuv::CEndpoint(sa);
  }
  void TearDown() override {
    if (!tls) return;
    bus->createBus("test")->unsubscribe(&leases);
    pool.remove(0);
    tls->close();
    server.close();
    client.close();
    host.shutdownPlugins();
  }

  void deliver() {
    host.logSink.lines.clear();
    store->calls.clear();
    leases.seen.clear();
    const std::string bytes("\x0e\x00\x00\x01\x00", 5);
    ASSERT_EQ(client.send_blocked(bytes.data(), bytes.size(), serverEndpoint), 5);
    handler.udp_input(server);
  }
  std::string answer() {
    char buf[64];
    nuv::CEndpoint from;
    const ACE_Time_Value limit(0, 100000);
    const ssize_t n = client.recvFrom(buf, sizeof buf, from, 0, &limit);
    return n < 0 ? "<none>"
                 : nuv::CHexStore(reinterpret_cast<std::uint8_t*>(buf), static_cast<std::size_t>(n))
                       .string();
  }
  bool logged(const std::string& text) const { return host.logSink.contains(text); }

  CRecordingController host;
  CRecordingPktStore* store = nullptr;
  CSystemBusPlugin* bus = nullptr;
  CLeaseEvents leases;
  CInlineTask task;
  CTLSPool<CDHCP6TLS> pool{1};
  std::unique_ptr<CDHCP6TLS> tls;
  CScriptedExchange* exchange = nullptr;
  CDHCP6Handler handler{&host, &task, pool};
  nuv::CSockDgramMcast server, client;
  nuv::CEndpoint serverEndpoint;
};

}  // namespace

TEST_F(PathsFixture, CommittedMessageRecordsTheRequestAndPublishesItsEvents) {
  const struct {
    int code;
    const char* line;
  } cases[] = {{2, nullptr},
               {0, "debug: The server is dropping a datagram."},
               {5, "error: The server returned unknown code 5."}};
  for (const auto& c : cases) {
    exchange->outcome = [&] { return c.code; };
    deliver();
    EXPECT_EQ(store->calls, std::vector<std::string>{"in 14 request 5"}) << c.code;
    EXPECT_EQ(leases.seen, std::vector<std::string>{"obtain"}) << c.code;
    if (c.line) {
      EXPECT_TRUE(logged(c.line)) << c.line;
    }
    EXPECT_EQ(answer(), "<none>");
  }
}

TEST_F(PathsFixture, TransmittedReplyGoesBackToTheSenderAndIsStored) {
  exchange->outcome = [] { return 1; };
  deliver();
  EXPECT_EQ(answer(), "07-12-34-56");
  EXPECT_EQ(store->calls, (std::vector<std::string>{"in 14 request 5", "out 7/14 reply 4"}));
  EXPECT_TRUE(logged("verbose: The frontend transmitted packet: 07-12-34-56."));
}

TEST_F(PathsFixture, SimulatedReplyIsNotSentButCountsAsSent) {
  host.mutableConfig().set("system.debug.no_send", "true");
  tls->refreshConfig();
  exchange->outcome = [] { return 1; };
  deliver();
  EXPECT_EQ(answer(), "<none>");
  EXPECT_TRUE(logged("debug: The server is in debug mode and is only simulating responses."));
  EXPECT_EQ(store->calls.size(), 2u);
}

TEST_F(PathsFixture, FailedMessageStillRecordsTheRequestButPublishesNothing) {
  for (const char* module : {"dhcp6_server", "oodb_persistence"}) {
    exchange->outcome = [&]() -> int {
      throw nuv::CException(nuv::CMessage("Processing failed."), nuv::CMessage("Scripted."), module,
                            "Test::leaseQuery");
    };
    deliver();
    EXPECT_EQ(store->calls, std::vector<std::string>{"in 14 request 5"}) << module;
    EXPECT_TRUE(leases.seen.empty()) << module;
    EXPECT_TRUE(logged("Processing failed. (Scripted.) [Test::leaseQuery]")) << module;
    EXPECT_EQ(answer(), "<none>");
    // The thread is ready for the next datagram.
    EXPECT_EQ(tls->syncCommands().size(), 0u);
    EXPECT_TRUE(exchange->eventQueue().empty());
  }
}
