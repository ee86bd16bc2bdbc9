#include <gtest/gtest.h>

#include "oodb/CAccessToken.h"
#include "tests/fixtures/FailureOf.h"

TEST(CAccessTokenTest, BaseHasNoTextForm) {
  const CAccessToken token;
  EXPECT_TRUE(token.domains().empty());
  EXPECT_EQ(
      failureOf([&] { token.string(); }),
      (Failure{"security", "CAccessToken::string", "Invalid method call.", "Wrong subclass."}));
}
