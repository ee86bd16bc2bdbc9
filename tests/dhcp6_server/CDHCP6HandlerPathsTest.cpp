// What happens after a datagram was read as a message: transaction, side
// commands by outcome, failure paths and the reply, with a scripted
// lease-query service standing in for a message processor.
#include <gtest/gtest.h>

#include <functional>

#include "dhcp_server_common/CIDHCPLeaseQuery.h"
#include "dhcp_server_common/CIDHCPPktStore.h"
#include "dhcp_server_common/CNodeContext.h"
#include "plugins/system_bus/CSystemBusPlugin.h"
#include "tests/dhcp6_server/CHandlerThreadFixture.h"

namespace {

// Answers every Leasequery as the test scripts: queues a lease event and
// makes the reply a Leasequery-reply.
class CScriptedLeaseQuery : public CPlugin,
                            public CIDHCPLeaseQueryFactory,
                            public CIDHCPLeaseQuery {
 public:
  std::string pluginName() const override { return "scripted lease query"; }
  std::string pluginInterface() const override { return "CIDHCPLeaseQueryFactory,CPlugin"; }
  std::shared_ptr<CIDHCPLeaseQuery> createLeaseQuery(CIDHCPContext&) override {
    return std::shared_ptr<CIDHCPLeaseQuery>(std::shared_ptr<void>(), this);
  }
  void refreshConfig() override {}
  int processLQ(CNodeContext& node, CDHCP6Packet& request, CDHCP6Packet& reply) override {
    node.provisioned().eventQueue().push_back(
        std::make_shared<CAppEvent>(0, "obtain", "address_lease"));
    link = request.linkAddress().string();
    reply.msgType(CDHCP6MsgType::lease_query_reply);
    return outcome();
  }

  std::function<int()> outcome;
  std::string link;
};

std::string firstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

// Records what the packet store is given.
class CRecordingPktStore : public CPlugin, public CIDHCPPktStoreFactory, public CIDHCPPktStore {
 public:
  std::string pluginName() const override { return "recording packet store"; }
  std::string pluginInterface() const override { return "CIDHCPPktStoreFactory,CPlugin"; }
  std::shared_ptr<CIDHCPPktStore> createPktStore(CIDHCPContext&) override {
    return std::shared_ptr<CIDHCPPktStore>(std::shared_ptr<void>(), this);
  }
  void inputFromNode(const CAccessID&, std::uint8_t type, const nuv::CHexStore&,
                     const nuv::CHexStore&, const nuv::CHexStore&, const nuv::CHexStore&,
                     const CPktText& text, const std::uint8_t*, std::size_t length) override {
    calls.push_back("in " + std::to_string(type) + " " + firstLine(text()) + " " +
                    std::to_string(length));
  }
  void outputToNode(const CAccessID&, std::uint8_t type, std::uint8_t request,
                    const nuv::CHexStore&, const nuv::CHexStore&, const nuv::CHexStore&,
                    const nuv::CHexStore&, const CPktText& text, const std::uint8_t*,
                    std::size_t length) override {
    calls.push_back("out " + std::to_string(type) + "/" + std::to_string(request) + " " +
                    firstLine(text()) + " " + std::to_string(length));
  }
  std::vector<std::string> calls;
};

struct CLeaseEvents : CIEventSubscriber {
  void event(const std::shared_ptr<const CAppEvent>& e) override { seen.push_back(e->evtType); }
  std::vector<std::string> seen;
};

// The packet store's first text line of the request and of the reply.
const std::string kStoredRequest = "in 14 host-option transaction-id = 1 12";
const std::string kStoredReply = "host-option transaction-id = 1";

struct PathsFixture : CHandlerThreadFixture<> {
  void SetUp() override {
    PRIVATE_NETNS_REQUIRED();
    store = new CRecordingPktStore;
    bus = new CSystemBusPlugin;
    lq = new CScriptedLeaseQuery;
    host.plugins().addPlugin(store, deleteTestPlugin, nullptr, "pktstore");
    host.plugins().addPlugin(lq, deleteTestPlugin, nullptr, "leasequery");
    host.plugins().addPlugin(bus, deleteTestPlugin, nullptr, "bus");
    startThread();
    bus->createBus("test")->subscribe(&leases, {"address_lease"});
  }
  void TearDown() override {
    if (tls) bus->createBus("test")->unsubscribe(&leases);
    CHandlerThreadFixture::TearDown();
  }

  // A Leasequery from a client with DUID 01-02-03-04 (transaction-id 1),
  // or that message relayed once from link 2001:db8:1::1.
  static std::string leaseQuery() {
    return std::string("\x0e\x00\x00\x01\x00\x01\x00\x04\x01\x02\x03\x04", 12);
  }
  static std::string relayed(const std::string& inner) {
    std::string r("\x0c\x00", 2);
    r += std::string("\x20\x01\x0d\xb8\x00\x01", 6) + std::string(9, '\0') + '\x01';
    r += std::string("\xfe\x80", 2) + std::string(13, '\0') + '\x02';
    r += std::string("\x00\x09\x00", 3) + static_cast<char>(inner.size()) + inner;
    return r;
  }
  void deliver(const std::string& bytes = leaseQuery()) {
    store->calls.clear();
    leases.seen.clear();
    send(bytes);
  }
  // The reply as hex text.
  std::string answer() {
    const std::string bytes = receive(100000);
    return bytes == "<none>"
               ? bytes
               : nuv::CHexStore(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())
                     .string();
  }

  CRecordingPktStore* store = nullptr;
  CSystemBusPlugin* bus = nullptr;
  CLeaseEvents leases;
  CScriptedLeaseQuery* lq = nullptr;
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
    lq->outcome = [&] { return c.code; };
    deliver();
    EXPECT_EQ(store->calls, std::vector<std::string>{kStoredRequest}) << c.code;
    EXPECT_EQ(leases.seen, std::vector<std::string>{"obtain"}) << c.code;
    if (c.line) {
      EXPECT_TRUE(logged(c.line)) << c.line;
    }
    EXPECT_EQ(answer(), "<none>");
  }
}

TEST_F(PathsFixture, TransmittedReplyGoesBackToTheSenderAndIsStored) {
  lq->outcome = [] { return 1; };
  deliver();
  // Leasequery-reply, the request's transaction-id, our Server Identifier.
  const std::string reply = "0F-00-00-01-00-02-00-0A-00-03-00-01-02-00-00-00-00-01";
  EXPECT_EQ(answer(), reply);
  EXPECT_EQ(store->calls,
            (std::vector<std::string>{kStoredRequest, "out 15/14 " + kStoredReply + " 18"}));
  EXPECT_TRUE(logged("verbose: The frontend transmitted packet: " + reply + "."));
  EXPECT_EQ(lq->link, "::");
}

TEST_F(PathsFixture, RelayedMessageIsUnwrappedAndAnsweredThroughTheRelay) {
  lq->outcome = [] { return 1; };
  deliver(relayed(leaseQuery()));
  EXPECT_EQ(lq->link, "2001:db8:1::1");
  // Relay-reply echoing hop count and addresses, around the Leasequery-reply.
  EXPECT_EQ(answer(),
            "0D-00-20-01-0D-B8-00-01-00-00-00-00-00-00-00-00-00-01-"
            "FE-80-00-00-00-00-00-00-00-00-00-00-00-00-00-02-00-09-00-12-"
            "0F-00-00-01-00-02-00-0A-00-03-00-01-02-00-00-00-00-01");
}

TEST_F(PathsFixture, SimulatedReplyIsNotSentButCountsAsSent) {
  host.mutableConfig().set("system.debug.no_send", "true");
  tls->refreshConfig();
  lq->outcome = [] { return 1; };
  deliver();
  EXPECT_EQ(answer(), "<none>");
  EXPECT_TRUE(logged("debug: The server is in debug mode and is only simulating responses."));
  EXPECT_EQ(store->calls.size(), 2u);
}

TEST_F(PathsFixture, FailedMessageStillRecordsTheRequestButPublishesNothing) {
  for (const char* module : {"dhcp6_server", "oodb_persistence"}) {
    lq->outcome = [&]() -> int {
      throw nuv::CException(nuv::CMessage("Processing failed."), nuv::CMessage("Scripted."), module,
                            "Test::leaseQuery");
    };
    deliver();
    EXPECT_EQ(store->calls, std::vector<std::string>{kStoredRequest}) << module;
    EXPECT_TRUE(leases.seen.empty()) << module;
    EXPECT_TRUE(logged("Processing failed. (Scripted.) [Test::leaseQuery]")) << module;
    EXPECT_EQ(answer(), "<none>");
    // The thread is ready for the next datagram.
    EXPECT_EQ(tls->syncCommands().size(), 0u);
    EXPECT_TRUE(tls->context().ncIn().provisioned().eventQueue().empty());
  }
}
