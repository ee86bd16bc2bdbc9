#include <gtest/gtest.h>

#include "exp_eval/CStringFunctions.h"
#include "tests/exp_eval/ExpTestSupport.h"

namespace {

struct Case {
  const char* text;
  const char* value;
};

}  // namespace

TEST_F(ExpTest, StringFunctions) {
  const Case cases[] = {
      {"[$UCASE(\"abc\")]", "ABC"},
      {"[$LCASE(\"AbC-1\")]", "abc-1"},
      {"[$LEN(\"abc\")]", "3"},
      {"[$LEN(\"\")]", "0"},
      {"[$LEN($BYTES(\"00-11-22\"))]", "3"},  // bytes, not the 8 characters of the text
      {"[$LEN(12345)]", "5"},
      {"[$LEFT(\"abcdef\", 2)]", "ab"},
      {"[$LEFT(\"ab\", 5)]", "ab"},
      {"[$LEFT(\"ab\", 0)]", ""},
      {"[$RIGHT(\"abcdef\", 2)]", "ef"},
      {"[$RIGHT(\"ab\", 5)]", "ab"},
      {"[$MID(\"abcdef\", 1, 3)]", "bcd"},
      {"[$MID(\"abc\", 2, 99)]", "c"},
      {"[$INSTR(\"abcdef\", \"cd\")]", "2"},
      {"[$INSTR(\"abc\", \"x\")]", "-1"},
      {"[$STARTSWITH(\"abcdef\", \"abc\")]", "true"},
      {"[$STARTSWITH(\"ab\", \"abc\")]", "false"},
      {"[$MATCH(\"host-12.example\", \"host-*.example\")]", "true"},
      {"[$MATCH(\"abc\", \"a?d\")]", "false"},
      {"[$MATCH(\"b\", \"[abc]\")]", "true"},
  };
  for (const Case& c : cases) EXPECT_EQ(str(c.text), c.value) << c.text;
}

TEST_F(ExpTest, StringFunctionFailures) {
  const Case cases[] = {
      {"[$MID(\"abc\", 3, 1)]", "Position 3 is out of bounds in string abc."},
      {"[$MID(\"abc\", -1, 1)]", "Position -1 is out of bounds in string abc."},
      {"[$MID(\"abc\", 0, -2)]", "Count -2 is negative."},
      {"[$LEFT(\"abc\", -1)]", "Count -1 is negative."},
      {"[$RIGHT(\"abc\", -1)]", "Count -1 is negative."},
      {"[$LEFT(\"abc\")]", "Not enough arguments."},
      {"[$MID(\"abc\", 1)]", "Not enough arguments."},
      {"[$UCASE()]", "Not enough arguments."},
      {"[$UCASE(\"a\", \"b\")]", "Too many arguments."},
      {"[$INSTR(\"a\")]", "Not enough arguments."},
      {"[$MATCH(\"a\", \"b\", \"c\")]", "Too many arguments."},
      {"[$LEFT(\"abc\", \"x\")]",
       "Cannot convert variant value 'x' to type 'integer'. (Value is not an integer.)"},
  };
  for (const Case& c : cases) {
    const Failure f = failure(c.text);
    EXPECT_EQ(f.why, c.value) << c.text;
    EXPECT_EQ(f.what.rfind("Failed to execute function $", 0), 0u) << f;
  }
}
