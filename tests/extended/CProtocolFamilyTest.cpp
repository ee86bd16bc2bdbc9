#include <gtest/gtest.h>

#include "extended/CProtocolFamily.h"
#include "tests/fixtures/FailureOf.h"

TEST(CProtocolFamilyTest, OnlyFourAndSixExist) {
  EXPECT_EQ(CProtocolFamily().value(), 6);
  EXPECT_EQ(CProtocolFamily(4).value(), 4);
  EXPECT_EQ(sizeof(CProtocolFamily), 1u);
  for (unsigned bad : {0u, 5u, 46u, 260u})
    EXPECT_EQ(failureOf([&] { CProtocolFamily f(bad); }),
              (Failure{"extended", "CProtocolFamily::CProtocolFamily",
                       "Cannot create protocol family " + std::to_string(bad) + ".",
                       "Only families 4 and 6 exist."}));
}
