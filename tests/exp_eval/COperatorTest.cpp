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

TEST(COperatorTest, LongerOperatorsWinOverTheirPrefixes) {
  const struct {
    const char* text;
    COperator::code_t code;
    std::size_t length;
  } cases[] = {
      {"<=1", COperator::op_less_equal, 2},   {"<1", COperator::op_less, 1},
      {">=", COperator::op_greater_equal, 2}, {"&&x", COperator::op_and, 2},
      {"&x", COperator::op_bit_and, 1},       {"||", COperator::op_or, 2},
      {"==", COperator::op_equal, 2},         {"=x", COperator::op_assign, 1},
      {"!=", COperator::op_not_equal, 2},     {"!x", COperator::op_not, 1},
      {"$$", COperator::op_function, 1},      {"abc", COperator::op_none, 0},
  };
  for (const auto& c : cases) {
    std::size_t length = 99;
    EXPECT_EQ(COperator::match(c.text, length).code(), c.code) << c.text;
    EXPECT_EQ(length, c.length) << c.text;
  }
}

TEST(COperatorTest, BinaryOperatorsAreColonAndSevenToTwentyFour) {
  for (unsigned code = 0; code <= COperator::kLast; ++code) {
    const bool binary = code == 3 || (code >= 7 && code <= 24);
    EXPECT_EQ(COperator::fromCode(code).isBinary(), binary) << code;
  }
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
