#include <gtest/gtest.h>

#include "dhcp_base/CDHCP6StatusCode.h"

TEST(CDHCP6StatusCodeTest, Texts) {
  EXPECT_EQ(CDHCP6StatusCode().string(), "success");
  EXPECT_EQ(CDHCP6StatusCode(CDHCP6StatusCode::no_addrs_avail).string(), "no_addrs_avail");
  EXPECT_EQ(CDHCP6StatusCode(10).string(), "lq_not_allowed");
  EXPECT_EQ(CDHCP6StatusCode(11).string(), "11");
}
