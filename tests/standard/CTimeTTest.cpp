#include <gtest/gtest.h>

#include <limits>

#include "standard/CException.h"
#include "standard/CTimeT.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CException;
using nuv::CTimeT;

TEST(CTimeTTest, FormatsKnownTimes) {
  struct Case {
    std::time_t t;
    const char* date;
    const char* text;
  };
  const Case cases[] = {
      {0, "Thu Jan  1 00:00:00 1970", "1970-01-01 00:00:00"},
      {1700000000, "Tue Nov 14 22:13:20 2023", "2023-11-14 22:13:20"},
      {951782400, "Tue Feb 29 00:00:00 2000", "2000-02-29 00:00:00"},
      {-1, "Wed Dec 31 23:59:59 1969", "1969-12-31 23:59:59"},
      {4102444800, "Fri Jan  1 00:00:00 2100", "2100-01-01 00:00:00"},
      {253402300799, "Fri Dec 31 23:59:59 9999", "9999-12-31 23:59:59"},
      {-62167219200, "Sat Jan  1 00:00:00 0", "0000-01-01 00:00:00"},
  };
  for (const Case& c : cases) {
    const CTimeT t(c.t);
    EXPECT_EQ(t.dateUTC(), c.date) << c.t;
    EXPECT_EQ(t.string(), c.text) << c.t;
    // Every text form reads back to the same second.
    EXPECT_EQ(CTimeT::parse(t.dateUTC()), t) << c.date;
    EXPECT_EQ(CTimeT::parse(t.string()), t) << c.text;
    EXPECT_EQ(CTimeT::parse(t.isoUTC()), t) << t.isoUTC();
    EXPECT_EQ(CTimeT::parse(std::to_string(c.t)), t);
  }
  EXPECT_EQ(CTimeT(1700000000).isoUTC(), "2023-11-14T22:13:20Z");
}

TEST(CTimeTTest, OutOfRangeTimeCannotBeDisplayed) {
  for (std::time_t t :
       {std::time_t{253402300800}, std::time_t{-62167219201},
        std::numeric_limits<std::time_t>::max(), std::numeric_limits<std::time_t>::min()}) {
    EXPECT_EQ(
        failureOf([&] { (void)CTimeT(t).dateUTC(); }),
        (Failure{"standard", "CTimeT::dateUTC", "Cannot display time string.", "Invalid time."}))
        << t;
    EXPECT_THROW((void)CTimeT(t).string(), CException);
  }
}

TEST(CTimeTTest, ParsesAcceptedForms) {
  struct Case {
    const char* text;
    std::time_t t;
  };
  const Case cases[] = {
      {"  1700000000 ", 1700000000},
      {"+60", 60},
      {"-60", -60},
      {"2000-02-29 12:00:00", 951825600},
      {"2000-02-29T12:00:00Z", 951825600},
      {"1900-03-01 00:00:00", -2203891200},
      {"Tue Feb 29 12:00:00 2000", 951825600},
      {"Thu Jan 1 00:00:00 1970", 0},  // a single space before the day is fine
  };
  for (const Case& c : cases) EXPECT_EQ(CTimeT::parse(c.text).get(), c.t) << c.text;
}

TEST(CTimeTTest, RejectsMalformedText) {
  const char* bad[] = {"",
                       "   ",
                       "-",
                       "+-5",
                       "12a",
                       "99999999999999999999",
                       "2023-02-29 00:00:00",
                       "2023-13-01 00:00:00",
                       "2023-00-10 00:00:00",
                       "2023-01-01 24:00:00",
                       "2023-01-01 23:60:00",
                       "2023-01-01 23:59:60",
                       "2023-1-01 00:00:00",
                       "2023-01-01T00:00:00",
                       "2023-01-01 00:00:00Z",
                       "2023-01-01",
                       "Xyz Jan  1 00:00:00 1970",
                       "Thu Foo  1 00:00:00 1970",
                       "Thu Jan  1 00:00:00",
                       "Thu Jan 32 00:00:00 1970",
                       "Thu Jan  1 00:00:00 1970 extra"};
  for (const char* text : bad) {
    const Failure f = failureOf([&] { (void)CTimeT::parse(text); });
    EXPECT_EQ(f.what, std::string("Cannot convert text '") + text + "' to a time.");
    EXPECT_EQ(f.why, "Invalid time format.");
    EXPECT_FALSE(CTimeT::fromText(text)) << text;
  }
}

TEST(CTimeTTest, ArithmeticRefusesOverflow) {
  const CTimeT a(100), b(30);
  EXPECT_EQ((a + b - 5).get(), 125);
  EXPECT_EQ((a * b / 7).get(), 428);
  const std::time_t max = std::numeric_limits<std::time_t>::max();
  const std::time_t min = std::numeric_limits<std::time_t>::min();
  CTimeT big(max);
  EXPECT_THROW(big += 1, CException);
  EXPECT_EQ(big.get(), max) << "a failed operation leaves the value alone";
  EXPECT_THROW(CTimeT(min) - 1, CException);
  EXPECT_THROW(CTimeT(max / 2 + 1) * 2, CException);
  EXPECT_THROW(CTimeT(min) / -1, CException);
  EXPECT_EQ(failureOf([&] { (void)(a / 0); }).why, "Division by zero.");
}
