#include <gtest/gtest.h>

#include "oodb/CDomainID.h"

TEST(CDomainIDTest, ComparesByNumberAlone) {
  const CDomainID a(5, 1), b(5, 2), c(7, 1);
  EXPECT_EQ(a, b);
  EXPECT_LT(a, c);
  EXPECT_GE(c, b);
  EXPECT_NE(a, c);
  EXPECT_EQ(a.domainType(), 1);
  EXPECT_EQ(CDomainID().id(), CDomainID::unknown);
}

TEST(CDomainIDTest, ReservedNames) {
  EXPECT_EQ(CDomainID(0).name(), "Administrators");
  EXPECT_EQ(CDomainID(1).name(), "Observers");
  EXPECT_EQ(CDomainID(-1).name(), "");
  EXPECT_EQ(CDomainID(2).name(), "");  // the DHCP domains are not the base's
  EXPECT_EQ(CDomainID(-12).string(), "-12");
}
