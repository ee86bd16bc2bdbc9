#include <gtest/gtest.h>

#include "exp_eval/CExpression.h"
#include "tests/exp_eval/ExpTestSupport.h"

using nuv::CExpression;
using nuv::CMultiVariant;
using nuv::CVariantType;

TEST(CExpressionTest, BracketsMakeAnExpression) {
  const struct {
    const char* text;
    bool literal;
    bool expression;
  } cases[] = {
      {"abc", true, false},     {"", true, false},     {"[1 + 2]", false, true},
      {"  [1]\t", false, true}, {"[]", false, true},   {"[1", true, false},
      {"1]", true, false},      {"a[1]", true, false}, {"[", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CExpression::isLiteral(c.text), c.literal) << c.text;
    EXPECT_EQ(nuv::isExpression(c.text), c.expression) << c.text;
  }
}

TEST_F(ExpTest, LiteralsAreNeverParsed) {
  const CExpression broken(&eval, "(1 + ");  // would not parse; it is a literal
  EXPECT_EQ(broken.getSyntaxTree(), nullptr);
  EXPECT_EQ(broken.postfix(), "");
  const CMultiVariant values = *broken;
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].string(), "(1 +");

  EXPECT_EQ((*CExpression(&eval, " true "))[0].type(), CVariantType::dt_boolean);
  EXPECT_TRUE((*CExpression(&eval, "")).empty());
  EXPECT_TRUE(CExpression(&eval).empty());
  // Without an evaluator a literal still works; an expression cannot be parsed.
  EXPECT_EQ((*CExpression(nullptr, "42"))[0].integer(), 42);
  EXPECT_EQ(failureOf([] { CExpression(nullptr, "[42]"); }),
            (Failure{"exp_eval", "CExpression::assign", "Cannot parse expression '[42]'.",
                     "No expression evaluator is set."}));
}

TEST_F(ExpTest, ExpressionsParseOnceAndEvaluateEachTime) {
  CExpression e(&eval, "[$LEN(\"abc\") * 2]");
  EXPECT_EQ(e.postfix(), "LEN \"abc\" $ 2 *");
  const auto tree = e.getSyntaxTree();
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*e).at(0).integer(), 6);
  EXPECT_EQ(e.getSyntaxTree(), tree);
  const CExpression copy = e;  // copies share the tree
  EXPECT_EQ(copy.getSyntaxTree(), tree);
  EXPECT_EQ(copy.text(), "[$LEN(\"abc\") * 2]");
}

TEST_F(ExpTest, EqualWhenTheTreesAreEqual) {
  EXPECT_EQ(CExpression(&eval, "[1+2]"), CExpression(&eval, " [ 1 + 2 ] "));
  EXPECT_NE(CExpression(&eval, "[1+2]"), CExpression(&eval, "[2+1]"));
  EXPECT_NE(CExpression(&eval, "[1]"), CExpression(&eval, "[\"1\"]"));  // integer vs string
  EXPECT_NE(CExpression(&eval, "[1]"), CExpression(&eval, "1"));
  EXPECT_EQ(CExpression(&eval, "abc"), CExpression(&eval, "abc"));
}

TEST_F(ExpTest, ParseFailuresNameTheExpressionAndKeepTheOldValue) {
  CExpression e(&eval, "[1]");
  EXPECT_EQ(failureOf([&] { e = "[(1 + 2]"; }),
            (Failure{"exp_eval", "CExpression::assign", "Cannot parse expression '[(1 + 2]'.",
                     "Mismatched parentheses."}));
  EXPECT_EQ(failureOf([&] { e = "[ ]"; }).why,
            "Cannot convert empty expression to postfix. (Invalid data.)");
  const std::string deep = "[" + std::string(nuv::CExpEval::kMaxDepth, '-') + "1]";
  EXPECT_EQ(failureOf([&] { e = deep; }).why,
            "Failed to execute expression. (Expression is nested more than 200 levels deep.)");
  EXPECT_EQ(e.text(), "[1]");
  EXPECT_EQ((*e).at(0).integer(), 1);
}

TEST_F(ExpTest, EvaluationFailuresNameTheExpression) {
  EXPECT_EQ(exprFailure("[$NOSUCH()]"), (Failure{"exp_eval", "CExpression::operator*",
                                                 "Cannot execute expression '[$NOSUCH()]'.",
                                                 "Runtime error. (Unknown function 'NOSUCH'.)"}));
  EXPECT_EQ(exprFailure("[$LEFT(\"abc\")]").why,
            "Failed to execute function $LEFT(). (Not enough arguments.)");
  EXPECT_EQ(exprFailure("[true + true]").why,
            "Cannot perform 'addition' (+) on boolean values. (Illegal operation.)");
}
