#include <gtest/gtest.h>

#include "plugins/ddns/CDDNSBackoff.h"

TEST(CDDNSBackoffTest, DoublesFromHalfASecondUpToEightSeconds) {
  const struct {
    std::uint32_t attempt;
    long ms;
  } cases[] = {{0, 500},  {1, 500},  {2, 1000}, {3, 2000},
               {4, 4000}, {5, 8000}, {6, 8000}, {4000000000u, 8000}};
  for (const auto& c : cases) EXPECT_EQ(CDDNSBackoff::after(c.attempt).count(), c.ms) << c.attempt;
}
