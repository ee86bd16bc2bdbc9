#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "exp_eval/CControlFunctions.h"
#include "tests/exp_eval/ExpTestSupport.h"

namespace {

// A "key = value" file removed at the end of the test.
class ValueFileTest : public ExpTest {
 protected:
  ValueFileTest() : m_path("exp_eval_value_" + std::to_string(getpid()) + ".txt") {}
  ~ValueFileTest() override { std::remove(m_path.c_str()); }
  const std::string& write(const std::string& content) {
    std::ofstream(m_path) << content;
    return m_path;
  }
  std::string call(const std::string& key) const {
    return "[$VALUE(\"" + m_path + "\", \"" + key + "\")]";
  }

  std::string m_path;
};

}  // namespace

TEST_F(ExpTest, ConditionsAndPassThrough) {
  EXPECT_EQ(str("[$IF(1 < 2, \"a\", \"b\")]"), "a");
  EXPECT_EQ(str("[$IF(0, \"a\", \"b\")]"), "b");
  const nuv::CMultiVariant all = run("[$DEFAULT(1, \"x\", true)]");
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[2].type(), nuv::CVariantType::dt_boolean);
  EXPECT_EQ(failure("[$IF(1, 2)]").why, "Not enough arguments.");
  EXPECT_EQ(failure("[$DEFAULT()]"),
            (Failure{"exp_eval", "CFunctionCall::run", "Failed to execute function $DEFAULT().",
                     "Not enough arguments."}));
}

TEST_F(ExpTest, EvalRunsATextAsAnExpression) {
  EXPECT_EQ(str("[$EVAL(\"[1 + 2]\")]"), "3");
  EXPECT_EQ(str("[$EVAL(\"[$EVAL('[2 * 3]')]\")]"), "6");
  EXPECT_EQ(one("[$EVAL(\"1 + 2\")]").type(), nuv::CVariantType::dt_string);  // a literal
  EXPECT_EQ(run("[$EVAL(\"[1, 2]\")]").size(), 2u);
  EXPECT_EQ(failure("[$EVAL(\"[1 +]\")]"),
            (Failure{"exp_eval", "CFunctionCall::run", "Failed to execute function $EVAL().",
                     "Cannot parse expression '[1 +]'. (Operator + requires two operands.)"}));
}

TEST_F(ValueFileTest, ValueLooksUpAndEvaluates) {
  write(
      "a = [1 + 1]\n  b\t=\ttext with blanks \t\nno separator here\n<default> = false\n"
      "c =\nd = x = y\r\n");
  EXPECT_EQ(str(call("a")), "2");
  EXPECT_EQ(str(call("b")), "text with blanks");
  EXPECT_EQ(str(call("d")), "x = y");  // split at the first "="
  EXPECT_EQ(str(call("missing")), "false");
  EXPECT_EQ(failure(call("c")).why,
            "Executing with argument 'c' returned an expression that gave no result.");

  write("a = 1\n");
  EXPECT_EQ(failure(call("b")).why,
            "Key 'b' is not in file '" + m_path + "', which has no '<default>' key.");
  EXPECT_EQ(str(call("a")), "1");  // read again on every call

  std::remove(m_path.c_str());
  EXPECT_EQ(failure(call("a")),
            (Failure{"exp_eval", "CFunctionCall::run",
                     "Failed to open file '" + m_path + "' when executing function $VALUE().",
                     "No such file or directory"}));
}

TEST_F(ValueFileTest, SelfReferenceStopsAtTheNestingLimit) {
  write("loop = [$VALUE(\"" + m_path + "\", \"loop\")]\n");
  const Failure f = failure(call("loop"));
  EXPECT_NE(f.why.find("Expressions evaluate further expressions more than 8 levels deep."),
            std::string::npos)
      << f;
}

TEST_F(ValueFileTest, FileExists) {
  write("x");
  EXPECT_EQ(str("[$FILE.EXISTS(\"" + m_path + "\")]"), "true");
  EXPECT_EQ(str("[$FILE.EXISTS(\"/nonexistent/exp_eval\")]"), "false");
}

TEST_F(ExpTest, SleepPrintAndLog) {
  EXPECT_EQ(str("[$USLEEP(1000)]"), "true");
  EXPECT_EQ(failure("[$USLEEP(-1)]").why, "Argument -1 is outside 0 to 10000000 microseconds.");
  EXPECT_EQ(failure("[$USLEEP(10000001)]").why,
            "Argument 10000001 is outside 0 to 10000000 microseconds.");

  testing::internal::CaptureStdout();
  const std::string printed = str("[$PRINT(5, \"a b\", $BYTES(\"01-02\"))]");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "arg_num=1, type=integer, value=5\narg_num=2, type=string, value=a b\n"
            "arg_num=3, type=byte sequence, value=01-02\n");
  EXPECT_EQ(printed, "true");

  EXPECT_EQ(str("[$LOG(\"pool rule \" + 7)]"), "true");
  EXPECT_TRUE(host.logSink.contains("info: pool rule 7"));
  EXPECT_EQ(failure("[$LOG()]").why, "Not enough arguments.");
}
