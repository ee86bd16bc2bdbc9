#include <gtest/gtest.h>

#include "exp_eval/COperator.h"
#include "tests/fixtures/FailureOf.h"

using nuv::COperator;

TEST(COperatorTest, TextsReadBackToTheirCodes) {
  for (unsigned code = 1; code <= COperator::kLast; ++code) {
    if (code == COperator::op_negate) continue;  // "-" reads as the binary minus
    EXPECT_EQ(COperator::fromText(COperator::string(code)).code(), code) << code;
  }
  EXPECT_EQ(COperator::fromText("-").code(), COperator::op_subtract);
  EXPECT_STREQ(COperator::string(COperator::op_bit_or), "|");
  EXPECT_STREQ(COperator::string(COperator::op_or), "||");
  EXPECT_STREQ(COperator::string(99), "unknown");
}

TEST(COperatorTest, BadCodesAndTextsFail) {
  EXPECT_EQ(failureOf([] { COperator::fromCode(27); }),
            (Failure{"exp_eval", "COperator::fromCode", "Cannot set variant operator type '27'.",
                     "Illegal value."}));
  for (const char* text : {"<>", "", "+=", "x"}) {
    EXPECT_EQ(failureOf([&] { COperator::fromText(text); }),
              (Failure{"exp_eval", "COperator::fromText",
                       std::string("Cannot assign operator from text '") + text + "'.",
                       "Illegal value."}));
  }
}
