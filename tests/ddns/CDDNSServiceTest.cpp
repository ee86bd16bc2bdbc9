#include <gtest/gtest.h>

#include "plugins/ddns/CDDNSService.h"
#include "tests/ddns/DDNSJobs.h"
#include "tests/fixtures/CRecordingController.h"

namespace {
using Records = CDDNSJob::Records;
using Action = CDDNSJob::Action;

struct Fixture {
  explicit Fixture(std::size_t capacity) : queue(capacity), service(queue, counters, log) {}
  CDDNSQueue queue;
  CDDNSCounters counters;
  CRecordingLog log;
  CDDNSService service;
};
}  // namespace

TEST(CDDNSServiceTest, QueuesEachCallAsItsJob) {
  Fixture f(8);
  f.service.updateARecord(ddnsUpdate("a.example.net"));
  f.service.updatePTRRecord(ddnsUpdate("b.example.net"));
  f.service.deleteARecord(ddnsUpdate("c.example.net"));
  f.service.deletePTRRecord(ddnsUpdate("d.example.net"));
  const struct {
    Records records;
    Action action;
    const char* fqdn;
  } expected[] = {{Records::forward, Action::add, "a.example.net"},
                  {Records::reverse, Action::add, "b.example.net"},
                  {Records::forward, Action::remove, "c.example.net"},
                  {Records::reverse, Action::remove, "d.example.net"}};
  f.queue.close();
  for (const auto& e : expected) {
    const auto job = f.queue.pop();
    ASSERT_TRUE(job);
    EXPECT_EQ(job->records, e.records);
    EXPECT_EQ(job->action, e.action);
    EXPECT_EQ(job->update.fqdn, e.fqdn);
    EXPECT_EQ(job->update.addresses, ddnsUpdate().addresses);
  }
  EXPECT_TRUE(f.log.lines.empty());
}

TEST(CDDNSServiceTest, AFullQueueDropsTheOldestWithAWarningAndACount) {
  Fixture f(2);
  f.service.updateARecord(ddnsUpdate("a.example.net"));
  f.service.updatePTRRecord(ddnsUpdate("b.example.net"));
  f.service.updateARecord(ddnsUpdate("c.example.net"));
  EXPECT_EQ(f.queue.size(), 2u);
  EXPECT_EQ(f.counters.dropped(), 1u);
  EXPECT_TRUE(
      f.log.contains("warning: The DNS update queue is full (2 updates): dropped the "
                     "oldest, adding the AAAA records of 'a.example.net' in zone "
                     "'example.net'."))
      << f.log.text();
}

TEST(CDDNSServiceTest, AfterShutdownUpdatesAreDroppedNotQueued) {
  Fixture f(2);
  f.queue.close();
  f.service.deletePTRRecord(ddnsUpdate("a.example.net"));
  EXPECT_EQ(f.queue.size(), 0u);
  EXPECT_EQ(f.counters.dropped(), 1u);
  EXPECT_TRUE(
      f.log.contains("The DNS update service has stopped: dropped removing the PTR "
                     "records for 'a.example.net'"))
      << f.log.text();
}
