#include <gtest/gtest.h>

#include <thread>

#include "plugins/ddns/CDDNSQueue.h"
#include "tests/ddns/DDNSJobs.h"
#include "tests/fixtures/CWatchdog.h"

TEST(CDDNSQueueTest, AFullQueueDropsTheOldestAndStaysBounded) {
  CDDNSQueue queue(3);
  for (int n = 1; n <= 3; ++n) {
    const auto pushed = queue.push(numberedJob(n));
    EXPECT_TRUE(pushed.taken);
    EXPECT_FALSE(pushed.dropped);
  }
  // Each further job pushes out the oldest one still waiting.
  for (int n = 4; n <= 5; ++n) {
    const auto pushed = queue.push(numberedJob(n));
    EXPECT_TRUE(pushed.taken);
    ASSERT_TRUE(pushed.dropped);
    EXPECT_EQ(pushed.dropped->update.fqdn, "host" + std::to_string(n - 3) + ".example.net");
    EXPECT_EQ(queue.size(), 3u);
  }
  queue.close();
  for (int n = 3; n <= 5; ++n) {
    const auto job = queue.pop();
    ASSERT_TRUE(job);
    EXPECT_EQ(job->update.fqdn, "host" + std::to_string(n) + ".example.net");
  }
  EXPECT_FALSE(queue.pop());
}

TEST(CDDNSQueueTest, ACapacityOfZeroHoldsOne) {
  CDDNSQueue queue(0);
  queue.push(numberedJob(1));
  EXPECT_TRUE(queue.push(numberedJob(2)).dropped);
  EXPECT_EQ(queue.size(), 1u);
}

TEST(CDDNSQueueTest, AClosedQueueTakesNothingButHandsOutWhatItHolds) {
  CDDNSQueue queue(4);
  queue.push(numberedJob(1));
  queue.close();
  const auto pushed = queue.push(numberedJob(2));
  EXPECT_FALSE(pushed.taken);
  EXPECT_FALSE(pushed.dropped);
  ASSERT_TRUE(queue.pop());
  EXPECT_FALSE(queue.pop());
}

TEST(CDDNSQueueTest, PopWaitsForAJobOrTheClose) {
  CWatchdog watchdog;
  CDDNSQueue queue(4);
  std::optional<CDDNSJob> first, second;
  std::thread consumer([&] {
    first = queue.pop();
    second = queue.pop();
  });
  queue.push(numberedJob(1));
  queue.close();
  consumer.join();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->update.fqdn, "host1.example.net");
  EXPECT_FALSE(second);
}
