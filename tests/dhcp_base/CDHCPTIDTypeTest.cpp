#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "dhcp_base/CDHCPTIDType.h"

using optiontest::failure;

TEST(CDHCPTIDTypeTest, NamesBothWays) {
  const char* names[] = {"unknown", "rid", "cid", "sid", "self", "hostname"};
  for (std::uint8_t v = 0; v < 6; ++v) {
    EXPECT_EQ(CDHCPTIDType(v).string(), names[v]);
    CDHCPTIDType t = CDHCPTIDType::hostname;
    t = names[v];
    EXPECT_EQ(t.value(), v);
  }
}

TEST(CDHCPTIDTypeTest, Refusals) {
  CDHCPTIDType t = CDHCPTIDType::cid;
  EXPECT_EQ(failure([&] { t = "duid"; }),
            "Cannot set trusted id type. | Invalid trusted id value 'duid'.");
  EXPECT_EQ(t, CDHCPTIDType::cid);
  EXPECT_EQ(failure([] { CDHCPTIDType(6); }),
            "Cannot set trusted id type. | Invalid trusted id type value '6'.");
}
