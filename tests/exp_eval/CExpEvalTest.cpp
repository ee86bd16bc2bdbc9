#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "exp_eval/CExpEval.h"
#include "tests/exp_eval/ExpTestSupport.h"

using nuv::CExpEval;
using nuv::CMultiVariant;
using nuv::COperator;
using nuv::CToken;
using nuv::CVariant;
using nuv::CVariantSubType;
using nuv::CVariantType;

namespace {

struct Case {
  const char* text;
  const char* value;
  CVariantType::data_type type;
};

}  // namespace

TEST_F(ExpTest, OperatorsBindAndGroupByTheirCodes) {
  const Case cases[] = {
      {"[1 + 2 * 3]", "7", CVariantType::dt_integer},
      {"[10 - 4 - 3]", "9", CVariantType::dt_integer},  // a - (b - c)
      {"[10 - 4 + 3]", "3", CVariantType::dt_integer},  // "+" binds tighter than "-"
      {"[(10 - 4) - 3]", "3", CVariantType::dt_integer},
      {"[8 / 2 * 2]", "2", CVariantType::dt_integer},  // "*" binds tighter than "/"
      {"[-5 + 2]", "-3", CVariantType::dt_integer},
      {"[2 * -3]", "-6", CVariantType::dt_integer},
      {"[!-1]", "true", CVariantType::dt_boolean},  // a prefix operator pops nothing
      {"[~0]", "-1", CVariantType::dt_integer},
      {"[6 & 3]", "2", CVariantType::dt_integer},
      {"[6 | 3]", "7", CVariantType::dt_integer},
      {"[6 ^ 3]", "5", CVariantType::dt_integer},
      {"[1 + 1 == 2]", "true", CVariantType::dt_boolean},
      {"[\"abc\" < \"abd\"]", "true", CVariantType::dt_boolean},
      {"[1 != 1 || 2 > 1 && 3 >= 3]", "true", CVariantType::dt_boolean},
      {"[!true]", "false", CVariantType::dt_boolean},
      {"[\"a+b\" + 'c']", "a+bc", CVariantType::dt_string},  // no operator inside quotes
      {"[5 + \"3\"]", "8", CVariantType::dt_integer},        // right converts to the left's type
      {"[\"5\" + 3]", "53", CVariantType::dt_string},
      {"[10.0.0.1 + 1]", "10.0.0.2", CVariantType::dt_ipaddress},
      {"[hello world]", "hello world", CVariantType::dt_string},
      {"  [ 1 + 1 ]\t", "2", CVariantType::dt_integer},
      {"1 + 1", "2", CVariantType::dt_integer},  // parse() takes a bare body too
      {"[x = 5]", "5", CVariantType::dt_integer},
      {"[1 == 1 ? \"yes\" : \"no\"]", "yes", CVariantType::dt_string},
      {"[1 == 2 ? 5 : 6 + 1]", "7", CVariantType::dt_integer},
      {"[false ? 1 : true ? 3 : 4]", "3", CVariantType::dt_integer},
      {"[true ? (false ? 1 : 2) : 3]", "2", CVariantType::dt_integer},
      {"[$LEN(\"abc\") + 1]", "4", CVariantType::dt_integer},
      {"[1 + $LEN('ab') * 2]", "5", CVariantType::dt_integer},
      {"[$UCASE($LCASE(\"AbC\") + \"d\")]", "ABCD", CVariantType::dt_string},
      {"[$UNKNOWN]", "", CVariantType::dt_unknown},  // no parentheses: no arguments
  };
  for (const Case& c : cases) {
    const CVariant v = one(c.text);
    EXPECT_EQ(v.string(), c.value) << c.text;
    EXPECT_EQ(v.type(), c.type) << c.text;
  }
}

TEST_F(ExpTest, PostfixFormKeepsOperandsAndDropsSeparators) {
  const struct {
    const char* text;
    const char* postfix;
  } cases[] = {
      {"[1 + 2 * 3]", "1 2 3 * +"},
      {"[10 - 4 + 3]", "10 4 3 + -"},
      {"[-5 + 2]", "5 - 2 +"},
      {"[$LEFT(\"abc\", 2)]", "LEFT \"abc\" 2 $"},
      {"[$A($B(1), 2)]", "A B 1 $ 2 $"},
      {"[1 ? 2 : 3 + 4]", "1 2 3 4 + ?"},
      {"[1, 2]", "1 2"},
  };
  for (const auto& c : cases) EXPECT_EQ(eval.parse(c.text)->postfixText(), c.postfix) << c.text;
}

TEST_F(ExpTest, ListsGiveSeveralValues) {
  const CMultiVariant values = run("[1, \"two\", $DEFAULT(3, 4), 2 + 3]");
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[1].string(), "two");
  EXPECT_EQ(values[3].integer(), 4);
  EXPECT_EQ(values[4].integer(), 5);
  // An operator takes the first value of a several-valued operand.
  EXPECT_EQ(str("[$DEFAULT(7, 8) + 1]"), "8");
}

TEST_F(ExpTest, OnlyTheNeededSideIsEvaluated) {
  EXPECT_EQ(str("[false && $NOSUCH()]"), "false");
  EXPECT_EQ(str("[true || $NOSUCH()]"), "true");
  EXPECT_EQ(str("[true ? 1 : $NOSUCH()]"), "1");
  EXPECT_EQ(failure("[true && $NOSUCH()]").why, "Unknown function 'NOSUCH'.");
}

TEST_F(ExpTest, SyntaxErrorsNameTheTextAndWhatIsWrong) {
  const struct {
    const char* text;
    const char* why;
  } cases[] = {
      {"[(1 + 2]", "Mismatched parentheses."},
      {"[1 + 2)]", "Mismatched parentheses."},
      {"[(]", "Mismatched parentheses."},
      {"[1 +]", "Operator + requires two operands."},
      {"[* 2]", "Operator * requires two operands."},
      {"[1 + * 2]", "Operator * requires two operands."},
      {"[$F(1, + 2)]", "Operator + requires two operands."},
      {"[!]", "Operator ! requires at least one operand."},
      {"[-]", "Operator - requires at least one operand."},
      {"[$]", "Operator $ requires a function name."},
      {"[$(1)]", "Operator $ requires a function name."},
      {"[(1)(2)]", "Missing operator before '(' at position 5."},
      {"[$LEN(\"a\") 5]", "Missing operator before '5' at position 12."},
      {"[1 !2]", "Missing operator before '!' at position 4."},
      {"[\"abc]", "Unterminated quote at position 2."},
      {"[\"it's\" + 'x]", "Unterminated quote at position 11."},
      {"[1 ? 2]", "Operator ? at position 4 has no matching ':'."},
      {"[1 ? 2, 3 : 4]", "Operator ? at position 4 has no matching ':'."},
      {"[1 : 2]",
       "Misplaced ':' at position 4; put a branch of '?' that holds operators in parentheses."},
      {"[1 ? 2 + 1 : 3]",
       "Misplaced ':' at position 12; put a branch of '?' that holds operators in parentheses."},
      {"[1 ? 2 : 3 : 4]",
       "Misplaced ':' at position 12; put a branch of '?' that holds operators in parentheses."},
      {"[()]", "Empty parentheses at position 2."},
      {"[(1, 2)]", "Misplaced ',' at position 4; commas separate function arguments or results."},
      {"[, 1]", "Missing value before ',' at position 2."},
      {"[$LEFT(\"a\",)]", "Missing value after ',' at position 11."},
      {"[1 + [2]]", "Unexpected '[' at position 6."},
      {"[1 + 2] + 3]", "Unexpected ']' at position 7."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(failure(c.text),
              (Failure{"exp_eval", "CExpEval::_string2Postfix",
                       std::string("Cannot parse expression '") + c.text + "'.", c.why}))
        << c.text;
  }
  for (const char* empty : {"[]", " [  ] ", "", "\t"}) {
    EXPECT_EQ(failure(empty),
              (Failure{"exp_eval", "CExpEval::_string2Postfix",
                       "Cannot convert empty expression to postfix.", "Invalid data."}))
        << empty;
  }
}

TEST_F(ExpTest, TooDeepTreesAreRefused) {
  const std::string deep = "[" + std::string(CExpEval::kMaxDepth, '!') + "true]";
  EXPECT_EQ(failure(deep),
            (Failure{"exp_eval", "CExpEval::_postfix2Tree", "Failed to execute expression.",
                     "Expression is nested more than 200 levels deep."}));
  const std::string fits = "[" + std::string(CExpEval::kMaxDepth - 2, '!') + "true]";
  EXPECT_EQ(str(fits), "true");
  // Parentheses and long lists add no depth.
  std::string wide = "[" + std::string(1000, '(') + "1" + std::string(1000, ')');
  for (int i = 0; i < 1000; ++i) wide += ", 1";
  EXPECT_EQ(run(wide + "]").size(), 1001u);
}

TEST_F(ExpTest, RuntimeFailures) {
  EXPECT_EQ(failure("[$NOSUCH(1)]"), (Failure{"exp_eval", "CExpEval::callback", "Runtime error.",
                                              "Unknown function 'NOSUCH'."}));
  EXPECT_EQ(failure("[$ucase(\"abc\")]").why, "Unknown function 'ucase'.");
  EXPECT_EQ(failure("[$LEFT(\"abc\")]"),
            (Failure{"exp_eval", "CFunctionCall::run", "Failed to execute function $LEFT().",
                     "Not enough arguments."}));
  EXPECT_EQ(failure("[$LEFT(\"abc\", 1, 2)]").why, "Too many arguments.");
  EXPECT_EQ(failure("[true + true]"),
            (Failure{"standard", "CVariant::operator+",
                     "Cannot perform 'addition' (+) on boolean values.", "Illegal operation."}));
  EXPECT_EQ(failure("[-\"abc\"]"),
            (Failure{"exp_eval", "CUnaryExprNode::value", "Cannot process unary sub-expression.",
                     "Cannot perform 'unary-negation' (-) on string values. (Illegal "
                     "operation.)"}));
  EXPECT_EQ(failure("[1 + 2 = 3]"),
            (Failure{"exp_eval", "CAssignExprNode::value", "Cannot execute expression assignment.",
                     "Invalid node."}));
  EXPECT_EQ(failure("[1 / 0]").why, "Division by zero.");
}

namespace {

// Reaches the protected building steps and registers test functions.
class CTestEval : public CExpEval {
 public:
  CTestEval() {
    _setHandler("NOTHING", [](const CExpEval&, CMultiVariant&, CMultiVariant&) {});
    _setHandler("UCASE", [](const CExpEval&, CMultiVariant&, CMultiVariant& results) {
      results.emplace_back("replaced");
    });
  }
  TreePtr tree(std::vector<CToken> tokens) const { return _postfix2Tree(std::move(tokens)); }
  bool reservedWord(bool quoted, const std::string& name) const override {
    return !quoted && name == "client";
  }
};

}  // namespace

TEST(CExpEvalTest, FunctionsCanBeAddedAndReplaced) {
  const CTestEval eval;
  CMultiVariant out;
  eval.execute(out, *eval.parse("[$UCASE(\"abc\")]"));
  EXPECT_EQ(out.at(0).string(), "replaced");
  EXPECT_EQ(failureOf([&] { eval.execute(out, *eval.parse("[$NOTHING()]")); }),
            (Failure{"exp_eval", "CFuncExprNode::value", "Failed to execute function 'NOTHING'.",
                     "Function did not return a result."}));
  const auto names = eval.functionList();
  for (const char* name : {"COND",
                           "IF",
                           "DEFAULT",
                           "UNKNOWN",
                           "UCASE",
                           "LCASE",
                           "LEN",
                           "LEFT",
                           "RIGHT",
                           "MID",
                           "INSTR",
                           "STARTSWITH",
                           "MATCH",
                           "STR",
                           "STRING",
                           "TEXT",
                           "INT",
                           "INTEGER",
                           "BOOL",
                           "BYTES",
                           "MAC",
                           "IP",
                           "IP.MAP",
                           "IP.UNMAP",
                           "BASE64.ENCODE",
                           "BASE64.DECODE",
                           "MD5",
                           "SHA1",
                           "ENCRYPT",
                           "DECRYPT",
                           "SENCRYPT",
                           "SDECRYPT",
                           "DATE",
                           "TIME",
                           "DAY",
                           "MONTH",
                           "YEAR",
                           "TIME.UTC",
                           "TIME.FORMAT.LOCAL",
                           "TIME.FORMAT.UTC",
                           "EVAL",
                           "VALUE",
                           "FILE.EXISTS",
                           "USLEEP",
                           "PRINT",
                           "LOG",
                           "NOTHING"})
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), name)) << name;
}

TEST(CExpEvalTest, ReservedWordsAreMarkedOperands) {
  const CTestEval eval;
  const auto tree = eval.parse("[client == 'client']");
  EXPECT_EQ(tree->postfix()[0].operand().subtype(), CVariantSubType::dst_reserved_word);
  EXPECT_EQ(tree->postfix()[1].operand().subtype(), CVariantSubType::dst_general);
}

TEST(CExpEvalTest, TreeBuilderChecksOperandsOfHandMadeLists) {
  const CTestEval eval;
  const CVariant name(std::string("LEN"), CVariantSubType::dst_function_name);
  const struct {
    std::vector<CToken> tokens;
    const char* why;
  } cases[] = {
      {{CVariant(1), CToken(COperator::op_add)}, "Operator + requires two operands."},
      {{CVariant(1), CToken(COperator::op_function)}, "Operator $ requires a function name."},
      {{CVariant(1), CVariant(2), CToken(COperator::op_conditional)},
       "Operator ? requires three operands."},
      {{name, CVariant(1), CToken(COperator::op_add)}, "Operator + requires two operands."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(
        failureOf([&] { eval.tree(c.tokens); }),
        (Failure{"exp_eval", "CExpEval::_postfix2Tree", "Failed to execute expression.", c.why}));
  }
  CVariant result;
  EXPECT_EQ(failureOf([&] { eval.execute(result, *eval.tree({})); }),
            (Failure{"exp_eval", "CExpEval::execute", "Cannot execute expression.",
                     "Invalid syntax tree."}));
}

TEST(CExpEvalTest, OneTreeServesSeveralThreads) {
  const CExpEval eval;
  const auto tree = eval.parse("[$LEN($UCASE(\"abc\") + \"de\") * 2 + $INSTR(\"xyz\", \"z\")]");
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        CVariant v;
        eval.execute(v, *tree);
        if (v.integer() != 12) ++wrong[t];
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}
