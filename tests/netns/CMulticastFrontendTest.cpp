#include <gtest/gtest.h>
#include <net/if.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

#include "ace_ext/CSelectReactor.h"
#include "extended/CMulticastFrontend.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/netns/CNetNamespace.h"

namespace {

using namespace std::chrono_literals;
using nuv::CEndpoint;
using nuv::CIPAddress;

const char* kDefaultGroups = "[ff02::1:2]:547,[ff05::1:3]:547";

// Reads each datagram and, when asked to, answers its sender.
class CRecordingCallback : public CMulticastCallback {
 public:
  struct Received {
    std::string payload;
    CEndpoint from;
    CIPAddress to;
    unsigned arrival;
  };

  int udp_input(nuv::CSockDgramMcast& socket) override {
    char buf[1500];
    Received r;
    const ACE_Time_Value second(1);
    const ssize_t n = socket.recvFrom(buf, sizeof buf, r.from, 0, &second, &r.to);
    if (n < 0) return 0;
    r.payload.assign(buf, static_cast<std::size_t>(n));
    r.arrival = socket.arrivalInterface();
    if (!reply.empty()) socket.send_blocked(reply.data(), reply.size(), r.from);
    received.push_back(r);
    return 0;
  }
  int dispatch(void*) override { return 0; }

  std::string reply;
  std::vector<Received> received;
};

// A client on one end of the veth pair.
class CPeer {
 public:
  explicit CPeer(const char* interfaceName) {
    // Until the link is up on both ends (its link-local address shows it),
    // a send to a group fails.
    EXPECT_TRUE(CNetNamespace::waitForLinkLocal(interfaceName));
    m_socket.open(CEndpoint("[::]:0"));
    unsigned index = if_nametoindex(interfaceName);
    m_socket.set_option(IPPROTO_IPV6, IPV6_MULTICAST_IF, &index, sizeof index);
    int noLoop = 0;  // only the peer end of the pair may hear it
    m_socket.set_option(IPPROTO_IPV6, IPV6_MULTICAST_LOOP, &noLoop, sizeof noLoop);
  }
  ~CPeer() { m_socket.close(); }
  void send(const char* to, const std::string& payload) {
    ASSERT_EQ(static_cast<ssize_t>(payload.size()),
              m_socket.send_blocked(payload.data(), payload.size(), CEndpoint(to)));
  }
  std::string receive() {
    char buf[1500];
    CEndpoint from;
    const ACE_Time_Value limit(5);
    const ssize_t n = m_socket.recvFrom(buf, sizeof buf, from, 0, &limit);
    return n < 0 ? std::string() : std::string(buf, static_cast<std::size_t>(n));
  }

 private:
  nuv::CSockDgramMcast m_socket;
};

class CMulticastFrontendTest : public ::testing::Test {
 protected:
  void SetUp() override { NETNS_REQUIRED(); }

  // Runs the reactor on this thread until the condition holds (at most 5 s).
  bool pumpUntil(const std::function<bool()>& condition) {
    reactor.takeOwnership();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!condition() && std::chrono::steady_clock::now() < deadline) {
      ACE_Time_Value slice(0, 50000);
      reactor.handle_events(&slice);
    }
    return condition();
  }
  std::uint16_t boundPort() const {
    sockaddr_in6 sa{};
    socklen_t len = sizeof sa;
    getsockname(frontend.sockets().begin()->first, reinterpret_cast<sockaddr*>(&sa), &len);
    return ntohs(sa.sin6_port);
  }

  CRecordingController controller;
  nuv::CSelectReactor reactor;
  CRecordingCallback callback;
  CMulticastFrontend frontend{&controller, "dhcpv6", &callback, &reactor};
};

TEST_F(CMulticastFrontendTest, EmptyListJoinsTheDefaultGroupsOnEveryInterfaceButLoopback) {
  ASSERT_TRUE(frontend.init(true, CEndpoint("[::]:547"), "", kDefaultGroups));
  // Every group on every interface, in the order the system lists them.
  const std::string listed = controller.logSink.lines.at(0);
  EXPECT_EQ(0u, listed.find("info: The frontend interface list is: ")) << listed;
  for (const char* item : {"[ff02::1:2]:547/nsv0", "[ff02::1:2]:547/nsv1", "[ff05::1:3]:547/nsv0",
                           "[ff05::1:3]:547/nsv1"})
    EXPECT_NE(std::string::npos, listed.find(item)) << item;
  EXPECT_EQ(std::string::npos, listed.find("/lo")) << listed;
  ASSERT_EQ(1u, frontend.sockets().size());
  EXPECT_EQ(547, boundPort());
  for (const char* name : {"nsv0", "nsv1"}) {
    EXPECT_EQ(1u, CNetNamespace::groupsOn(name).count("ff02::1:2")) << name;
    EXPECT_EQ(1u, CNetNamespace::groupsOn(name).count("ff05::1:3")) << name;
  }
  EXPECT_EQ(0u, CNetNamespace::groupsOn("lo").count("ff02::1:2"));

  CPeer peer("nsv0");
  peer.send("[ff05::1:3]:547", "solicit");
  ASSERT_TRUE(pumpUntil([&] { return !callback.received.empty(); }));
  EXPECT_EQ("solicit", callback.received[0].payload);
  EXPECT_EQ(CIPAddress("ff05::1:3"), callback.received[0].to);
  EXPECT_EQ(if_nametoindex("nsv1"), callback.received[0].arrival);

  // Closing leaves no socket registered or bound; closing again is harmless.
  frontend.close();
  frontend.close();
  EXPECT_TRUE(frontend.sockets().empty());
  EXPECT_EQ(0u, CNetNamespace::groupsOn("nsv1").count("ff02::1:2"));
}

TEST_F(CMulticastFrontendTest, ItemJoinsOnItsInterfaceAndReceivesOnTheUnicastPort) {
  ASSERT_TRUE(CNetNamespace::waitForLinkLocal("nsv0"));
  ASSERT_TRUE(frontend.init(true, CEndpoint("[::]:547"), "[ff02::1:2]:0/nsv1", kDefaultGroups));
  EXPECT_TRUE(controller.logSink.contains(
      "The frontend is listening in group [ff02::1:2]:547 on interface nsv1."));
  EXPECT_EQ(1u, CNetNamespace::groupsOn("nsv1").count("ff02::1:2"));
  EXPECT_EQ(0u, CNetNamespace::groupsOn("nsv0").count("ff02::1:2"));
  EXPECT_EQ(547, boundPort());

  // The answer goes back to the sender's link-local address out of the
  // interface the request came in on.
  callback.reply = "advertise";
  CPeer peer("nsv0");
  peer.send("[ff02::1:2]:547", "solicit");
  ASSERT_TRUE(pumpUntil([&] { return !callback.received.empty(); }));
  EXPECT_TRUE(callback.received[0].from.address().isLinkLocal());
  EXPECT_EQ("advertise", peer.receive());
}

TEST_F(CMulticastFrontendTest, FailedRebindLeavesNothingBound) {
  const struct {
    const char* unicast;
    const char* listenList;
    const char* defaultGroups;
    const char* logged;
  } cases[] = {
      {"[::]:547", "[ff02::1:2]:0/nosuch0", kDefaultGroups,
       "Cannot find interface index for 'nosuch0' in protocol family 6. (Interface does not "
       "exist.)"},
      {"[::]:547", "", "",
       "The multicast binder failed to create a local interface list. (No default multicast "
       "groups are defined.)"},
      {"[fd00::99]:547", "", kDefaultGroups,
       "The multicast binder failed to bind to local address [fd00::99]:547."},
      {"[::]:547", "[ff02::1:2]:0/nsv0, [fd00::5]:547/nsv0", kDefaultGroups,
       "Failed to join multicast group [fd00::5]:547 on interface nsv0."},
      {"[::]:547", "[ff02::1:2/nsv0", kDefaultGroups,
       "Cannot create endpoint. (Text '[ff02::1:2' is not a valid ip address or host name.)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.logged);
    EXPECT_FALSE(frontend.init(true, CEndpoint(c.unicast), c.listenList, c.defaultGroups));
    EXPECT_TRUE(controller.logSink.contains(c.logged));
    EXPECT_TRUE(frontend.sockets().empty());
    EXPECT_EQ(0u, CNetNamespace::groupsOn("nsv0").count("ff02::1:2"));
  }
  // Nothing holds the port or a registration: the front end binds again.
  ASSERT_TRUE(frontend.init(true, CEndpoint("[::]:547"), "", kDefaultGroups));
  EXPECT_EQ(1u, frontend.sockets().size());
}

}  // namespace
