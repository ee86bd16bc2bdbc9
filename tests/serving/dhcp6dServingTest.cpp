// The real host with the real plug-ins (SQLite database) serving datagrams
// sent to it over loopback.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "tests/fixtures/CHostProcess.h"
#include "tests/fixtures/CWatchdog.h"
#include "tests/fixtures/PrivateNetns.h"

namespace {

using namespace std::chrono_literals;

const std::string kFiveBytes("\x01\x00\x00\x01\x00", 5);

// An Information-request relayed from link 2001:db8:1::1 (peer fe80::2).
const std::string kLink("\x20\x01\x0d\xb8\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01", 16);
const std::string kPeer("\xfe\x80\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02", 16);
std::string relayedInfoRequest(const std::string& transaction) {
  const std::string clientID("\x00\x01\x00\x04\x01\x02\x03\x04", 8);
  const std::string inner = "\x0b" + transaction + clientID;
  return std::string("\x0c\x00", 2) + kLink + kPeer + std::string("\x00\x09\x00", 3) +
         static_cast<char>(inner.size()) + inner;
}
// Whether reply is the Relay-reply carrying a Reply to that transaction.
bool repliesTo(const std::string& reply, const std::string& transaction) {
  return reply.size() >= 42 && reply[0] == '\x0d' && reply.substr(38, 4) == "\x07" + transaction;
}

// A UDP client on loopback.
class CClient {
 public:
  CClient() {
    m_fd = ::socket(AF_INET6, SOCK_DGRAM, 0);
    m_server.sin6_family = AF_INET6;
    m_server.sin6_port = htons(547);
    m_server.sin6_addr = in6addr_loopback;
  }
  ~CClient() { ::close(m_fd); }
  CClient(const CClient&) = delete;
  CClient& operator=(const CClient&) = delete;

  void send(const std::string& bytes) const {
    ASSERT_EQ(::sendto(m_fd, bytes.data(), bytes.size(), 0,
                       reinterpret_cast<const sockaddr*>(&m_server), sizeof m_server),
              static_cast<ssize_t>(bytes.size()));
  }
  // The answer, or "<none>" after the time limit.
  std::string receive(std::chrono::milliseconds limit = 2000ms) const {
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(limit.count())) != 1) return "<none>";
    char buf[4096];
    const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
    return n < 0 ? "<none>" : std::string(buf, static_cast<std::size_t>(n));
  }
  std::string ask(const std::string& query) const {
    send(query);
    return receive();
  }
  // One counter of the server's statistics.
  long long stat(const std::string& metric) const {
    const std::string all = ask("query_stats");
    const auto at = all.find(metric + "=");
    return at == std::string::npos ? -1 : std::stoll(all.substr(at + metric.size() + 1));
  }

 private:
  int m_fd;
  sockaddr_in6 m_server{};
};

class ServingFixture : public ::testing::Test {
 protected:
  void SetUp() override { PRIVATE_NETNS_REQUIRED(); }
  // A host built with a sanitizer reports what it found in its output.
  void TearDown() override {
    if (!host) return;
    for (const char* report : {"ERROR: AddressSanitizer", "WARNING: ThreadSanitizer",
                               "runtime error:", "ERROR: LeakSanitizer"})
      EXPECT_EQ(host->count(report), 0u) << host->output();
  }

  static std::string config(const std::string& extra, const char* levels = "all") {
    return std::string("system.plugins = ") + NUV_PLUGIN_DIR +
           "\nsystem.storage.path = " + tempPath("dhcp6d_serving") +
           "\nsystem.log.levels = " + levels + "\nipv6.dhcpv6.engine.thread_count = 3\n" + extra;
  }
  // Starts the host and waits until every worker serves.
  void start(const std::string& extra = {}, const char* levels = "all") {
    host = std::make_unique<CHostProcess>(NUV_DHCP6D, config(extra, levels), false);
    ASSERT_TRUE(
        host->waitFor("The engine is switching from mode 'init' to mode 'servicing'.", 0, 3))
        << host->output();
  }
  // Waits (bounded) until the counter reaches value; the last value read.
  long long waitStat(const std::string& metric, long long value) {
    long long got = -1;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while ((got = client.stat(metric)) < value && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(10ms);
    return got;
  }

  CWatchdog watchdog{std::chrono::seconds(60)};
  std::unique_ptr<CHostProcess> host;
  CClient client;
};

}  // namespace

TEST_F(ServingFixture, StatusQueriesAreAnsweredAndNeverReachDhcpProcessing) {
  start();
  EXPECT_EQ(client.ask("query_mode"), "mode=servicing\n");
  EXPECT_EQ(client.ask("query_version").rfind("version=", 0), 0u);
  EXPECT_EQ(client.ask("query_unregistered"), "<none>");  // DHCP input then
  EXPECT_EQ(client.stat("packets.query_response"), 2);    // this one is counted after it answered
  EXPECT_EQ(client.stat("packets.input"), 5);
  EXPECT_EQ(host->count("Processing packet type"), 1u) << host->output();
}

TEST_F(ServingFixture, EmptyAndFiveByteDatagramsAreCountedAndLogged) {
  start();
  client.send("");
  client.send(kFiveBytes);
  EXPECT_TRUE(host->waitFor("dhcp debug: The server received an empty datagram."));
  EXPECT_TRUE(
      host->waitFor("dhcp verbose: The frontend received a 5 byte packet: 01-00-00-01-00."));
  EXPECT_TRUE(host->waitFor("dhcp debug: Processing packet type 'unknown'."));
  EXPECT_TRUE(
      host->waitFor("dhcp warning: The server received unexpected message type 'unknown'."));
  EXPECT_TRUE(host->waitFor("dhcp debug: The server is dropping a datagram."));
  EXPECT_EQ(client.receive(100ms), "<none>");
  // Asked only once both were handled: another worker may count a query before the five bytes.
  EXPECT_EQ(waitStat("packets.input", 2), 2);  // the five bytes and the query itself
  EXPECT_EQ(client.stat("packets.recv_empty"), 1);
}

TEST_F(ServingFixture, PausedServerDropsDatagramsWithTheModeLine) {
  start();
  const std::size_t started = host->output().size();
  host->signal(SIGUSR1);
  ASSERT_TRUE(
      host->waitFor("The engine is switching from mode 'servicing' to mode 'paused'.", started, 3))
      << host->output();
  EXPECT_EQ(client.ask("query_mode"), "mode=paused\n");
  for (int i = 0; i < 3; ++i) client.send(kFiveBytes);
  EXPECT_TRUE(host->waitFor("Datagram received while server in mode 'paused'.", started, 3));
  EXPECT_EQ(host->count("Processing packet type"), 0u);

  host->signal(SIGUSR2);
  ASSERT_TRUE(host->waitFor("to mode 'servicing'.", started, 3));
  client.send(kFiveBytes);
  EXPECT_TRUE(host->waitFor("Processing packet type 'unknown'.", started));
}

TEST_F(ServingFixture, DatagramOverTheLimitIsReadTruncated) {
  start("ipv6.dhcpv6.engine.max_dg_rcv = 4096\n");
  client.send(std::string(6000, '\x07'));
  EXPECT_TRUE(host->waitFor("dhcp warning: The server received a truncated datagram."));
  EXPECT_TRUE(host->waitFor("dhcp verbose: The frontend received a 4096 byte packet: 07-07-"));
  EXPECT_TRUE(host->waitFor("dhcp debug: Processing packet type 'unknown'."));
  EXPECT_EQ(client.stat("packets.recv_trunc"), 1);
}

TEST_F(ServingFixture, BurstFromSeveralSendersIsCountedOnceAndEveryWorkerShutsDown) {
  // No per-datagram warnings: the burst measures the packet path, not the log.
  start({}, "error,info,audit,debug");
  constexpr int kSenders = 4;
  constexpr int kPerSender = 750;
  constexpr long long kWindow = 100;  // datagrams in flight: within the socket's buffer
  std::atomic<long long> sent{0};
  std::atomic<long long> processed{0};
  std::atomic<long long> queries{0};
  std::atomic<bool> done{false};
  std::thread monitor([&] {
    CClient asker;
    while (!done) {
      ++queries;
      const long long input = asker.stat("packets.input");
      if (input >= 0) processed = input - queries;
      std::this_thread::sleep_for(2ms);
    }
  });
  std::vector<std::thread> senders;
  for (int s = 0; s < kSenders; ++s)
    senders.emplace_back([&] {
      CClient sender;
      for (int i = 0; i < kPerSender; ++i) {
        while (sent - processed >= kWindow) std::this_thread::sleep_for(200us);
        ++sent;
        sender.send(kFiveBytes);
      }
    });
  for (auto& t : senders) t.join();
  const long long total = kSenders * kPerSender;
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (processed < total && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(10ms);
  done = true;
  monitor.join();
  // The query reads the count including itself.
  EXPECT_EQ(client.stat("packets.input"), total + queries + 1);
  EXPECT_EQ(client.stat("packets.recv_fail"), 0);
  EXPECT_EQ(host->stop(SIGINT), 0);
  EXPECT_EQ(host->count("dhcp debug: Processing packet type 'unknown'."),
            static_cast<std::size_t>(total));
  EXPECT_EQ(host->count("debug: The DHCPv6 server has shut down."), 3u);
}

// Datagrams that wait together are read together; each is still answered
// to its own sender.
TEST_F(ServingFixture, DatagramsQueuedTogetherAreEachAnsweredToTheirSender) {
  start();
  constexpr int kClients = 20;
  std::vector<std::unique_ptr<CClient>> clients;
  for (int c = 0; c < kClients; ++c) clients.push_back(std::make_unique<CClient>());
  auto transaction = [](int c) { return std::string("\x77\x00", 2) + static_cast<char>(c); };
  host->signal(SIGSTOP);  // all of them wait in the socket
  for (int c = 0; c < kClients; ++c) clients[c]->send(relayedInfoRequest(transaction(c)));
  host->signal(SIGCONT);
  for (int c = 0; c < kClients; ++c)
    EXPECT_TRUE(repliesTo(clients[c]->receive(), transaction(c))) << "client " << c;
}

TEST_F(ServingFixture, PendingCollectionRunsAtTheConfiguredIntervalAndNeverWithZero) {
  const std::string line = "The server will collect stale pending records in";
  start("ipv6.dhcpv6.engine.pendings.garbage_interval = 0\n");
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(host->count(line), 0u);

  // A reload with an interval of one second starts the cycle.
  host->writeConfig(config("ipv6.dhcpv6.engine.pendings.garbage_interval = 1\n"));
  host->signal(SIGHUP);
  // The collection comes back by itself, again and again; how punctual it
  // is belongs to a benchmark, not to this test.
  ASSERT_TRUE(host->waitFor(line + " 1 seconds.", 0, 3)) << host->output();

  // Back to 0: the timer already set fires once more, then nothing.
  host->writeConfig(config("ipv6.dhcpv6.engine.pendings.garbage_interval = 0\n"));
  host->signal(SIGHUP);
  ASSERT_TRUE(host->waitFor("Configuration reloaded.", 0, 2));
  std::this_thread::sleep_for(1500ms);
  const std::size_t settled = host->count(line);
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(host->count(line), settled);
}

TEST_F(ServingFixture, MessagesAreFramedCountedAndRelayedOnesAnsweredThroughTheRelay) {
  start();
  const std::string clientID("\x00\x01\x00\x04\x01\x02\x03\x04", 8);
  // A type the protocol does not define, and an Advertise, which no client sends.
  client.send(std::string("\xc8\x00\x00\x01", 4) + clientID);
  EXPECT_EQ(waitStat("packets.unknown_type", 1), 1);
  EXPECT_TRUE(host->waitFor("dhcp warning: The server received unknown packet type '200'."));
  client.send(std::string("\x02\x00\x00\x01\x00\x02\x00\x04\x0a\x0b\x0c\x0d", 12) + clientID);
  EXPECT_EQ(waitStat("packets.parse_fail", 1), 1);
  EXPECT_TRUE(
      host->waitFor("dhcp warning: The server received unexpected message type 'unknown'."));

  client.send(relayedInfoRequest(std::string("\x12\x34\x56", 3)));
  const std::string reply = client.receive();
  ASSERT_GE(reply.size(), 38u) << host->output();
  EXPECT_EQ(reply[0], '\x0d');                    // Relay-reply
  EXPECT_EQ(reply.substr(2, 16), kLink);          // back to the link it came from
  EXPECT_EQ(reply.substr(18, 16), kPeer);         // and to the client behind the relay
  EXPECT_TRUE(repliesTo(reply, "\x12\x34\x56"));  // a Reply to the client's transaction
  // Counted once sent: the reply may arrive before the count is made.
  EXPECT_EQ(waitStat("packets.v6_relay_reply", 1), 1);
  EXPECT_EQ(client.stat("packets.v6_info_req"), 1);
  EXPECT_EQ(client.stat("packets.v6_reply"), 0);  // the datagram sent was a Relay-reply
}

TEST_F(ServingFixture, ABurstOnTheControlSocketLeavesClientsServed) {
  start({}, "error,warning,audit");
  // Twenty local senders announce changes as fast as the host reads them ...
  const std::string socketPath = tempPath("dhcp6d_serving") + "/dhcp6d.ctl";
  std::atomic<bool> done{false};
  std::atomic<long long> changes{0};
  std::vector<std::thread> senders;
  for (int s = 0; s < 20; ++s)
    senders.emplace_back([&] {
      const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
      const timeval wait{0, 100000};  // a stopped host must not keep a sender waiting
      ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
      sockaddr_un addr{};
      addr.sun_family = AF_UNIX;
      std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
      for (long i = 0; !done; ++i) {
        const std::string m =
            std::string(i % 2 ? "modify dhcp_policies6 " : "modify dhcp_apools6 ") +
            std::to_string(i % 100) + "\n";
        if (::sendto(fd, m.data(), m.size(), 0, reinterpret_cast<const sockaddr*>(&addr),
                     sizeof addr) > 0)
          ++changes;
      }
      ::close(fd);
    });
  const auto started = std::chrono::steady_clock::now();
  while (changes < 1000 && std::chrono::steady_clock::now() < started + 10s)
    std::this_thread::sleep_for(1ms);
  // ... while a client asks its questions one at a time.
  constexpr int kQuestions = 100;
  int answered = 0;
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  for (int i = 0; i < kQuestions && std::chrono::steady_clock::now() < deadline; ++i) {
    const std::string transaction{'\x01', static_cast<char>(i), '\x02'};
    client.send(relayedInfoRequest(transaction));
    for (std::string reply = client.receive(); reply != "<none>"; reply = client.receive()) {
      if (!repliesTo(reply, transaction)) continue;  // a late answer to an earlier question
      ++answered;
      break;
    }
  }
  const long long sent = changes;
  done = true;
  for (auto& t : senders) t.join();
  EXPECT_GT(sent, 1000);
  EXPECT_GE(answered, kQuestions * 95 / 100) << sent << " changes announced";
  EXPECT_TRUE(host->waitFor("Control messages arrive faster than 50 a second")) << host->output();
}
