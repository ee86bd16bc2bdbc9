#include <gtest/gtest.h>

#include "extended/CLogRateLimiter.h"

// Lines admitted per interval and the count of those refused, for a limit
// per second and one per ten seconds.
TEST(CLogRateLimiterTest, AdmitsSoManyPerIntervalAndCountsTheRest) {
  struct Case {
    unsigned perInterval, seconds;
    std::time_t from, to;  // three calls each second from from to before to
    unsigned admitted;
    unsigned long suppressed;
  };
  const Case cases[] = {
      {2, 1, 100, 105, 10, 5},   // two of three, each second
      {1, 10, 100, 125, 3, 72},  // intervals from 100, 110 and 120
      {5, 10, 95, 106, 8, 25},   // from 95 and from 105
  };
  for (const Case& c : cases) {
    CLogRateLimiter limiter(c.perInterval, c.seconds);
    unsigned admitted = 0;
    for (std::time_t t = c.from; t < c.to; ++t)
      for (int n = 0; n < 3; ++n) admitted += limiter.admit(t) ? 1 : 0;
    EXPECT_EQ(admitted, c.admitted) << c.perInterval << "/" << c.seconds;
    EXPECT_EQ(limiter.takeSuppressed(), c.suppressed) << c.perInterval << "/" << c.seconds;
    EXPECT_EQ(limiter.takeSuppressed(), 0u);
  }
}
