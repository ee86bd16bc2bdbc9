#include <gtest/gtest.h>
#include <netinet/in.h>

#include "extended/CDHCPCounterArray.h"
#include "tests/dhcp6_server/CHandlerThreadFixture.h"

namespace {

using M = CDHCPMetricEnums;

// Counts into an array the test reads.
class CCountingStats : public CPlugin, public CIDHCPStatsFactory {
  struct Stats : CIDHCPStats {
    explicit Stats(CDHCPCounterArray& c) : counters(c) {}
    void inc(std::int32_t m) override { counters.inc(m); }
    void set(std::int32_t m, std::uint64_t v) override { counters.set(m, v); }
    void sample() override {}
    CDHCPCounterArray& counters;
  };

 public:
  std::string pluginInterface() const override { return "CIDHCPStatsFactory,CPlugin"; }
  std::shared_ptr<CIDHCPStats> createStats(const CDHCPMeasurementSpec& spec) override {
    counters = CDHCPCounterArray(spec);
    return std::make_shared<Stats>(counters);
  }
  CDHCPCounterArray counters;
};

struct HandlerFixture : CHandlerThreadFixture<> {
  void SetUp() override {
    PRIVATE_NETNS_REQUIRED();
    stats = new CCountingStats;
    host.plugins().addPlugin(stats, deleteTestPlugin, nullptr, "stats");
    host.mutableConfig().set("ipv6.dhcpv6.engine.max_dg_rcv", "4096");
    host.registerQueryResponse("query_test", [] { return std::string("answer"); });
    startThread();
  }

  std::uint64_t count(std::int32_t metric) const { return stats->counters.get(metric); }

  CCountingStats* stats = nullptr;
};

}  // namespace

TEST_F(HandlerFixture, StatusQueryIsAnsweredAndNeverProcessed) {
  send("query_test");
  EXPECT_EQ(receive(), "answer");
  EXPECT_EQ(count(M::packetsInput), 1u);
  EXPECT_EQ(count(M::packetsOutput), 1u);
  EXPECT_EQ(count(M::packetsQueryResponse), 1u);
  EXPECT_TRUE(logged("verbose: The frontend transmitted packet: 61-6E-73-77-65-72."));
  EXPECT_FALSE(host.logSink.contains("Processing packet type"));
  // Answered even while the input is suspended or the mode forbids serving.
  tls->mode(CSystemMode::paused);
  host.inputSuspended(true);
  send("query_test");
  EXPECT_EQ(receive(), "answer");
}

TEST_F(HandlerFixture, MessagesTheServerDoesNotServeAreCountedAndDropped) {
  const std::string clientID("\x00\x01\x00\x04\x01\x02\x03\x04", 8);
  const std::string serverID("\x00\x02\x00\x04\x0a\x0b\x0c\x0d", 8);
  const struct {
    const char* what;
    std::string bytes;
    std::int32_t counter;  // counted once besides packets.input
    const char* line;
  } cases[] = {
      // Five bytes can never be a status query; too short for its option.
      {"short", std::string("\x01\x00\x00\x01\x00", 5), M::packetsParseFail,
       "warning: The server received unexpected message type 'unknown'."},
      {"unknown query text", "query_nope", M::packetsUnknownType,
       "warning: The server received unknown packet type '113'."},
      {"type 200", std::string("\xc8\x00\x00\x01", 4) + clientID, M::packetsUnknownType,
       "warning: The server received unknown packet type '200'."},
      // An Advertise is no client message: refused by the parser.
      {"advertise", std::string("\x02\x00\x00\x01", 4) + serverID + clientID, M::packetsParseFail,
       "warning: The server received unexpected message type 'unknown'."},
  };
  for (const auto& c : cases) {
    const std::uint64_t input = count(M::packetsInput), counted = count(c.counter);
    send(c.bytes);
    EXPECT_TRUE(logged(c.line)) << c.what;
    EXPECT_TRUE(logged("debug: The server is dropping a datagram.")) << c.what;
    EXPECT_EQ(count(M::packetsInput), input + 1) << c.what;
    EXPECT_EQ(count(c.counter), counted + 1) << c.what;
    EXPECT_EQ(receive(), "<none>") << c.what;
  }
  EXPECT_EQ(count(M::packetsOutput), 0u);
}

TEST_F(HandlerFixture, EmptyDatagramIsOnlyCountedAndLogged) {
  send("");
  EXPECT_EQ(count(M::packetsRecvEmpty), 1u);
  EXPECT_EQ(count(M::packetsInput), 0u);
  EXPECT_EQ(host.logSink.lines,
            std::vector<std::string>{"debug: The server received an empty datagram."});
}

TEST_F(HandlerFixture, OversizeDatagramIsReadTruncatedAndStillProcessed) {
  send(std::string(5000, '\x01'));
  EXPECT_EQ(count(M::packetsRecvTrunc), 1u);
  EXPECT_EQ(count(M::packetsInput), 1u);
  EXPECT_TRUE(logged("warning: The server received a truncated datagram."));
  EXPECT_TRUE(host.logSink.contains("verbose: The frontend received a 4096 byte packet: 01-01-"));
  EXPECT_TRUE(logged("debug: Processing packet type 'unknown'."));
}

TEST_F(HandlerFixture, OnlyServicingAndLearningProcessDatagrams) {
  const struct {
    CSystemMode mode;
    bool processed;
  } cases[] = {{CSystemMode::learning, true},
               {CSystemMode::paused, false},
               {CSystemMode::init, false},
               {CSystemMode::standby, false},
               {CSystemMode::servicing, true}};
  for (const auto& c : cases) {
    tls->mode(c.mode);
    send(std::string("\x01\x00\x00\x01\x00", 5));
    EXPECT_EQ(logged("debug: Processing packet type 'unknown'."), c.processed) << c.mode.string();
    EXPECT_EQ(logged("debug: Datagram received while server in mode '" + c.mode.string() + "'."),
              !c.processed);
  }
  EXPECT_EQ(count(M::packetsInput), 5u);
}

TEST_F(HandlerFixture, SuspendedInputIsDroppedSilently) {
  host.inputSuspended(true);
  send(std::string("\x01\x00\x00\x01\x00", 5));
  EXPECT_EQ(count(M::packetsInput), 1u);
  EXPECT_EQ(host.logSink.lines.size(), 1u);  // the received-packet dump only
}

namespace {

// Status queries handed to the handler from any source, without a network.
struct QuerySourcesFixture : CHandlerThreadFixture<> {
  void SetUp() override {
    host.registerQueryResponse("query_test", [] { return std::string("answer"); });
    startState();
    tls->transmitter([this](const void*, std::size_t length, const nuv::CEndpoint& to) {
      answeredTo.push_back(to.address().string());
      return static_cast<ssize_t>(length);
    });
  }
  // Whether a query from source was answered.
  bool answered(const char* source) {
    answeredTo.clear();
    const std::string query = "query_test";
    handler.deliver(*tls, reinterpret_cast<const std::uint8_t*>(query.data()), query.size(),
                    nuv::CEndpoint(nuv::CIPAddress(source), 40000), nuv::CIPAddress("::1"), 1);
    return answeredTo == std::vector<std::string>{source};
  }
  std::vector<std::string> answeredTo;
};

}  // namespace

TEST_F(QuerySourcesFixture, OnlyAllowedSourcesAreAnswered) {
  EXPECT_TRUE(answered("::1"));
  // A stranger, or a forged source, gets nothing: no reflection.
  EXPECT_FALSE(answered("2001:db8:9::7"));
  host.mutableConfig().set("ipv6.dhcpv6.engine.query_sources", "2001:db8:9::/48");
  tls->refreshConfig();
  EXPECT_TRUE(answered("2001:db8:9::7"));
  EXPECT_FALSE(answered("::1"));
  // Paused means paused for remote askers.
  host.mutableConfig().set("ipv6.dhcpv6.engine.query_sources", "2001:db8:9::/48, ::1");
  tls->refreshConfig();
  tls->mode(CSystemMode::paused);
  EXPECT_FALSE(answered("2001:db8:9::7"));
  EXPECT_TRUE(answered("::1"));
  // A list that does not read keeps the one in force.
  host.mutableConfig().set("ipv6.dhcpv6.engine.query_sources", "2001:db8:9::/200");
  tls->refreshConfig();
  EXPECT_TRUE(answered("::1"));
}

TEST_F(QuerySourcesFixture, AFloodOfUnreadableDatagramsWritesAFewLines) {
  host.logSink.lines.clear();
  const std::string garbage("\x01\x00\x00\x01\x00", 5);
  for (int i = 0; i < 10000; ++i)
    handler.deliver(*tls, reinterpret_cast<const std::uint8_t*>(garbage.data()), garbage.size(),
                    nuv::CEndpoint("[fe80::2]:546"), nuv::CIPAddress("ff02::1:2"), 1);
  std::size_t warnings = 0;
  for (const std::string& line : host.logSink.lines)
    if (line.rfind("warning:", 0) == 0 || line.rfind("error:", 0) == 0) ++warnings;
  // Ten a second at most; the run takes a few seconds at the very worst.
  EXPECT_GE(warnings, 1u);
  EXPECT_LE(warnings, 100u);
}
