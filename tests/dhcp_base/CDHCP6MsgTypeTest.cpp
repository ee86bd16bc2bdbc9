#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "dhcp_base/CDHCP6MsgType.h"

using optiontest::failure;

TEST(CDHCP6MsgTypeTest, NamesBothWays) {
  const char* names[] = {"unknown",       "solicit",     "advertise",   "request",
                         "confirm",       "renew",       "rebind",      "reply",
                         "release",       "decline",     "reconfigure", "info-request",
                         "relay-forward", "relay-reply", "lease-query", "lease-query-reply"};
  for (unsigned v = 0; v < 16; ++v) {
    EXPECT_EQ(CDHCP6MsgType(static_cast<std::uint8_t>(v)).string(), names[v]);
    if (v == 0) continue;
    CDHCP6MsgType t;
    t = names[v];
    EXPECT_EQ(t.value(), v) << names[v];
  }
}

TEST(CDHCP6MsgTypeTest, TextInAnyCase) {
  CDHCP6MsgType t;
  t = "ReLaY-FoRwArD";
  EXPECT_EQ(t, CDHCP6MsgType::relay_forward);
  EXPECT_TRUE(t.isRelay());
}

TEST(CDHCP6MsgTypeTest, Refusals) {
  CDHCP6MsgType t = CDHCP6MsgType::renew;
  EXPECT_EQ(failure([&] { t = "unknown"; }),
            "Cannot set dhcpv6 message type. | Invalid value 'unknown'.");
  EXPECT_EQ(failure([&] { t = "relay"; }),
            "Cannot set dhcpv6 message type. | Invalid value 'relay'.");
  EXPECT_EQ(t, CDHCP6MsgType::renew);
  EXPECT_EQ(failure([] { CDHCP6MsgType(16); }),
            "Cannot set dhcpv6 message type. | Invalid dhcpv6 message value '16'.");
  EXPECT_EQ(failure([] { CDHCP6MsgType(255); }),
            "Cannot set dhcpv6 message type. | Invalid dhcpv6 message value '255'.");
}
