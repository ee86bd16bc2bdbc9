#include <gtest/gtest.h>

#include "oodb/CAccessID.h"

TEST(CAccessIDTest, ReservedAccounts) {
  EXPECT_EQ(CAccessID().id(), -1);
  EXPECT_EQ(CAccessID().name(), "<unknown>");
  EXPECT_EQ(CAccessID(CAccessID::superUser).name(), "Admin");
  EXPECT_EQ(CAccessID(12).name(), "");
  EXPECT_TRUE(CAccessID::isSuperUserName("admin"));
  EXPECT_TRUE(CAccessID::isSuperUserName("Admin"));
  EXPECT_FALSE(CAccessID::isSuperUserName("ADMIN"));
  EXPECT_FALSE(CAccessID::isSuperUserName(CAccessID::kGuestName));
}

TEST(CAccessIDTest, StepsAndOrders) {
  CAccessID id(-1);
  EXPECT_EQ(++id, CAccessID(0));
  EXPECT_EQ(id++, CAccessID(0));
  EXPECT_EQ(id, CAccessID(1));
  EXPECT_EQ(id--, CAccessID(1));
  EXPECT_EQ(--id, CAccessID(-1));
  EXPECT_LT(CAccessID(-1), CAccessID(0));
  EXPECT_GT(CAccessID(3), CAccessID(2));
  EXPECT_EQ(CAccessID(42).string(), "42");
}
