#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "dhcp_base/CDHCP6MsgType.h"

using optiontest::failure;

TEST(CDHCP6MsgTypeTest, Texts) {
  EXPECT_EQ(CDHCP6MsgType().string(), "unknown");
  EXPECT_EQ(CDHCP6MsgType(11).string(), "info-request");
  EXPECT_EQ(CDHCP6MsgType(15).string(), "lease-query-reply");
  CDHCP6MsgType t;
  t = "ReLaY-FoRwArD";
  EXPECT_EQ(t, CDHCP6MsgType::relay_forward);
  t = "lease-query";
  EXPECT_EQ(t, CDHCP6MsgType::lease_query);

  t = CDHCP6MsgType::renew;
  EXPECT_EQ(failure([&] { t = "unknown"; }),
            "Cannot set dhcpv6 message type. | Invalid value 'unknown'.");
  EXPECT_EQ(t, CDHCP6MsgType::renew);
  EXPECT_EQ(failure([] { CDHCP6MsgType(16); }),
            "Cannot set dhcpv6 message type. | Invalid dhcpv6 message value '16'.");
}
