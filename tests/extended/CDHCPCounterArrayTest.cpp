#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "extended/CDHCPCounterArray.h"

using M = CDHCPMetricEnums;

namespace {
CDHCPMeasurementSpec specOf(std::initializer_list<std::int32_t> ids) {
  CDHCPMeasurementSpec spec("task-t", 2, 6);
  for (std::int32_t id : ids) spec.setMeasured(id);
  return spec;
}
}  // namespace

TEST(CDHCPCounterArrayTest, CountsOnlyMeasuredMetrics) {
  CDHCPCounterArray counters(specOf({M::packetsInput, M::packetsV6Solicit}));
  counters.inc(M::packetsInput);
  counters.inc(M::packetsInput);
  counters.add(M::packetsV6Solicit, 5);
  counters.inc(M::packetsOutput);  // not measured
  counters.inc(-1);
  counters.inc(107);
  EXPECT_EQ(counters[M::packetsInput], 2u);
  EXPECT_EQ(counters[M::packetsV6Solicit], 5u);
  EXPECT_EQ(counters[M::packetsOutput], 0u);
  EXPECT_EQ(counters.string(), "task-t #2 ipv6: packets.v6_solicit=5, packets.input=2");
  counters.clear();
  EXPECT_EQ(counters[M::packetsV6Solicit], 0u);
}

TEST(CDHCPCounterArrayTest, SumsAndDifferences) {
  CDHCPCounterArray a(specOf({M::packetsInput, M::packetsOutput}));
  CDHCPCounterArray b(specOf({M::packetsInput, M::packetsSendFail}));
  a.add(M::packetsInput, 10);
  a.add(M::packetsOutput, 4);
  b.add(M::packetsInput, 3);
  b.add(M::packetsSendFail, 1);

  const CDHCPCounterArray sum = a + b;  // measures the union
  EXPECT_EQ(sum[M::packetsInput], 13u);
  EXPECT_EQ(sum[M::packetsOutput], 4u);
  EXPECT_EQ(sum[M::packetsSendFail], 1u);
  EXPECT_EQ(a[M::packetsInput], 10u);  // operands unchanged

  CDHCPCounterArray delta = sum - a;
  EXPECT_EQ(delta[M::packetsInput], 3u);
  EXPECT_EQ(delta[M::packetsOutput], 0u);
  EXPECT_EQ(delta[M::packetsSendFail], 1u);
  delta -= sum;  // a counter that went back reads as 0, never wraps
  EXPECT_EQ(delta[M::packetsInput], 0u);

  CDHCPCounterArray copy(specOf({}));
  copy = a;
  a.inc(M::packetsInput);
  EXPECT_EQ(copy[M::packetsInput], 10u);
}

TEST(CDHCPCounterArrayTest, ReaderSumsWhileOwnersCount) {
  const auto spec = CDHCPMeasurementSpec::forHandlerThread("0", 0, 6);
  std::vector<CDHCPCounterArray> perThread(2, CDHCPCounterArray(spec));
  std::vector<std::thread> owners;
  for (auto& counters : perThread)
    owners.emplace_back([&counters] {
      for (int i = 0; i < 20000; ++i) counters.inc(M::packetsInput);
    });
  CDHCPCounterArray::Counter seen = 0;
  for (int i = 0; i < 100; ++i) {
    CDHCPCounterArray total(spec);
    for (const auto& counters : perThread) total += counters;
    EXPECT_GE(total[M::packetsInput], seen);  // monotonic as sampled
    seen = total[M::packetsInput];
  }
  for (auto& t : owners) t.join();
  CDHCPCounterArray total(spec);
  for (const auto& counters : perThread) total += counters;
  EXPECT_EQ(total[M::packetsInput], 40000u);
}
