// The state every worker thread's address manager shares: reservations
// with their hold, and each pool's cursor.
#include <gtest/gtest.h>

#include "plugins/addr_mgr/CPoolCandidates.h"

using A = nuv::CIPAddress;
using namespace std::chrono_literals;

namespace {

struct CPoolCandidatesTest : ::testing::Test {
  CPoolCandidates::Clock::time_point now{};
  CPoolCandidates candidates{60s, [this] { return now; }};
};

}  // namespace

TEST_F(CPoolCandidatesTest, AReservationHoldsUntilReleasedOrItsHoldIsOver) {
  const A a("2001:db8::1"), b("2001:db8::2");
  EXPECT_TRUE(candidates.reserve(0, a));
  EXPECT_FALSE(candidates.reserve(0, a));
  EXPECT_TRUE(candidates.reserve(1, a));  // the prefixes are counted apart
  EXPECT_TRUE(candidates.reserve(0, b));
  candidates.release(0, b);
  EXPECT_FALSE(candidates.reserved(0, b));
  EXPECT_EQ(candidates.count(), 2u);

  now += 30s;
  EXPECT_TRUE(candidates.reserve(0, b));  // reserved again: held until 90 s
  now += 29s;
  EXPECT_TRUE(candidates.reserved(0, a));
  EXPECT_FALSE(candidates.reserve(0, a));
  now += 1s;  // 60 s: a's hold is over
  EXPECT_FALSE(candidates.reserved(0, a));
  EXPECT_TRUE(candidates.reserved(0, b));
  EXPECT_EQ(candidates.count(), 1u);
  // b's first hold, ended by its release, does not end the second one.
  now += 29s;
  EXPECT_TRUE(candidates.reserved(0, b));
  EXPECT_TRUE(candidates.reserve(0, a));
  now += 1s;
  EXPECT_FALSE(candidates.reserved(0, b));
  EXPECT_EQ(candidates.count(), 1u);
}

TEST_F(CPoolCandidatesTest, EachPoolOfEachKindHasItsCursor) {
  EXPECT_FALSE(candidates.cursor(0, 7).isValid());
  candidates.cursor(0, 7, A("2001:db8::10"));
  candidates.cursor(1, 7, A("2001:db8:0:100::"));
  EXPECT_EQ(candidates.cursor(0, 7), A("2001:db8::10"));
  EXPECT_EQ(candidates.cursor(1, 7), A("2001:db8:0:100::"));
  EXPECT_FALSE(candidates.cursor(0, 8).isValid());
}
