#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "dhcp_base/CDHCPTIDType.h"

using optiontest::failure;

TEST(CDHCPTIDTypeTest, Texts) {
  EXPECT_EQ(CDHCPTIDType(5).string(), "hostname");
  CDHCPTIDType t;
  t = "SID";
  EXPECT_EQ(t, CDHCPTIDType::sid);
  EXPECT_EQ(failure([&] { t = "duid"; }),
            "Cannot set trusted id type. | Invalid trusted id value 'duid'.");
  EXPECT_EQ(t, CDHCPTIDType::sid);
  EXPECT_EQ(failure([] { CDHCPTIDType(6); }),
            "Cannot set trusted id type. | Invalid trusted id type value '6'.");
}
