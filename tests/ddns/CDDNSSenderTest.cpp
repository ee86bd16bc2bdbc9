#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "extended/CDHCPMetricEnums.h"
#include "plugins/ddns/CDDNSSender.h"
#include "tests/ddns/CRecordingStats.h"
#include "tests/ddns/DDNSJobs.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/CWatchdog.h"

namespace {

using Records = CDDNSJob::Records;
using Action = CDDNSJob::Action;
using Cause = CDDNSOutcome::Cause;

// A sender whose attempts answer from a script (OK once it runs out) and
// are recorded; the sender thread alone touches the script and records
// until stop() has joined it.
class CDDNSSenderTest : public ::testing::Test {
 protected:
  CDDNSSenderTest() {
    settings.retries = 1;
    settings.timeoutMs = 700;
  }

  CDDNSSender& sender() {
    if (!m_sender)
      m_sender = std::make_unique<CDDNSSender>(
          queue, counters, log, [this] { return settings; },
          [this](const CDDNSJob& job, const CDDNSSettings&, std::uint32_t timeoutMs) {
            servers.push_back(job.update.server);
            timeouts.push_back(timeoutMs);
            if (script.empty()) return CDDNSOutcome::fromAnswer(0, 0, true);
            CDDNSOutcome next = script.front();
            script.pop_front();
            return next;
          });
    return *m_sender;
  }

  // Sends the jobs and stops once they are done.
  void send(const std::vector<CDDNSJob>& jobs) {
    for (const auto& job : jobs) queue.push(job);
    sender().start(stats);
    sender().stop();
  }

  std::size_t errorLines() const {
    std::size_t n = 0;
    for (const auto& line : log.lines) n += line.rfind("error: ", 0) == 0;
    return n;
  }

  CWatchdog watchdog;
  CDDNSSettings settings;
  CDDNSQueue queue{16};
  CDDNSCounters counters;
  CRecordingLog log;
  std::shared_ptr<CRecordingStats> stats = std::make_shared<CRecordingStats>();
  std::deque<CDDNSOutcome> script;
  std::vector<nuv::CEndpoint> servers;
  std::vector<std::uint32_t> timeouts;

 private:
  std::unique_ptr<CDDNSSender> m_sender;
};

}  // namespace

TEST_F(CDDNSSenderTest, CountsEveryKindOfUpdateDoneInItsMetric) {
  using M = CDHCPMetricEnums::Metric;
  send({ddnsJob(Records::forward, Action::add), ddnsJob(Records::reverse, Action::add),
        ddnsJob(Records::forward, Action::remove), ddnsJob(Records::reverse, Action::remove),
        ddnsJob(Records::forward, Action::add)});
  EXPECT_EQ(stats->counted(),
            (std::vector<std::int32_t>{M::updatesForward, M::updatesReverse, M::deletesForward,
                                       M::deletesReverse, M::updatesForward}));
  EXPECT_EQ(counters.succeeded(Records::forward, Action::add), 2u);
  EXPECT_EQ(counters.succeeded(Records::reverse, Action::remove), 1u);
  EXPECT_EQ(timeouts, std::vector<std::uint32_t>(5, 700u));
  EXPECT_EQ(errorLines(), 0u) << log.text();
}

TEST_F(CDDNSSenderTest, TriesAgainAfterSERVFAILOrNoAnswerUpToTheRetries) {
  script = {CDDNSOutcome::fromAnswer(2, 0, true), CDDNSOutcome::timeout(),
            // The second job succeeds on its retry.
            CDDNSOutcome::timeout()};
  send({ddnsJob(Records::forward, Action::add), ddnsJob(Records::reverse, Action::add)});
  EXPECT_EQ(timeouts.size(), 4u);
  EXPECT_EQ(counters.failures(Cause::timeout), 1u);
  EXPECT_EQ(counters.failures(Cause::servfail), 0u);  // the final cause counts
  EXPECT_EQ(counters.succeeded(Records::reverse, Action::add), 1u);
  ASSERT_EQ(errorLines(), 1u) << log.text();
  EXPECT_TRUE(log.contains(
      "error: DNS update failed: adding the AAAA records of 'host1.example.net' in zone "
      "'example.net' at [::1]:53 (attempt 2): no answer from the DNS server (timed out)."))
      << log.text();
  EXPECT_TRUE(log.contains("Trying again in 500 ms.")) << log.text();
}

TEST_F(CDDNSSenderTest, AnUpdateTheServerRejectsIsReportedOnceAndNotRepeated) {
  script = {CDDNSOutcome::fromAnswer(9, 17, false), CDDNSOutcome::fromAnswer(5, 0, true),
            CDDNSOutcome::invalid("Cannot build the DNS update.")};
  send({ddnsJob(Records::forward, Action::add), ddnsJob(Records::reverse, Action::remove),
        ddnsJob(Records::forward, Action::remove)});
  EXPECT_EQ(timeouts.size(), 3u);
  EXPECT_EQ(counters.failures(Cause::badkey), 1u);
  EXPECT_EQ(counters.failures(Cause::refused), 1u);
  EXPECT_EQ(counters.failures(Cause::invalid), 1u);
  EXPECT_EQ(errorLines(), 3u) << log.text();
  EXPECT_TRUE(log.contains("(attempt 1): NOTAUTH (BADKEY): ")) << log.text();
  EXPECT_TRUE(log.contains("removing the PTR records for 'host1.example.net'") &&
              log.contains("(attempt 1): REFUSED: "))
      << log.text();
  EXPECT_TRUE(stats->counted().empty());
}

TEST_F(CDDNSSenderTest, AnUpdateWithoutServerGoesToTheDefaultServer) {
  settings.defaultServer = nuv::CEndpoint("[2001:db8::53]:53");
  CDDNSUpdate without = ddnsUpdate();
  without.server = nuv::CEndpoint();
  send({ddnsJob(Records::forward, Action::add, without), ddnsJob(Records::forward, Action::add)});
  EXPECT_EQ(servers, (std::vector<nuv::CEndpoint>{nuv::CEndpoint("[2001:db8::53]:53"),
                                                  nuv::CEndpoint("[::1]:53")}));
}

TEST_F(CDDNSSenderTest, StopSendsWhatIsQueuedWithinTheDrainTime) {
  for (int n = 0; n < 5; ++n) queue.push(numberedJob(n));
  sender().start(stats);
  sender().stop();
  EXPECT_EQ(counters.succeeded(Records::forward, Action::add), 5u);
  EXPECT_EQ(queue.size(), 0u);
  EXPECT_FALSE(log.contains("not sent")) << log.text();
}

TEST_F(CDDNSSenderTest, StopLeavesWhatTheDrainTimeDoesNotAllow) {
  // A server that never answers and more retries than the drain time holds.
  settings.retries = 1000;
  settings.drainSeconds = 1;
  for (int n = 0; n < 1000; ++n) script.push_back(CDDNSOutcome::timeout());
  for (int n = 0; n < 3; ++n) queue.push(numberedJob(n));
  sender().start(stats);
  sender().stop();  // returns: the watchdog bounds it
  EXPECT_TRUE(log.contains("warning: Shutting down with 3 DNS updates not sent.")) << log.text();
  EXPECT_NE(counters.summary().find("abandoned=3\n"), std::string::npos);
  EXPECT_EQ(counters.failures(Cause::timeout), 0u);  // not sent is not failed
  // Every attempt while draining waits no longer than the drain time.
  for (const auto t : timeouts) EXPECT_LE(t, 1000u);
}
