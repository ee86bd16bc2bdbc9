#include <gtest/gtest.h>

#include "dhcp_base/CDHCP6StatusCode.h"

TEST(CDHCP6StatusCodeTest, Names) {
  const char* names[] = {"success",           "unspec_fail",           "no_addrs_avail",
                         "no_binding",        "not_on_link",           "use_multicast",
                         "no_prefix_avail",   "lq_unknown_query_type", "lq_malformed_query",
                         "lq_not_configured", "lq_not_allowed"};
  for (std::uint16_t v = 0; v < 11; ++v) EXPECT_EQ(CDHCP6StatusCode(v).string(), names[v]);
  EXPECT_EQ(CDHCP6StatusCode(11).string(), "11");
  EXPECT_EQ(CDHCP6StatusCode(65535).string(), "65535");
  EXPECT_EQ(CDHCP6StatusCode().value(), CDHCP6StatusCode::success);
}
