#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "exp_eval/CTimeFunctions.h"
#include "tests/exp_eval/ExpTestSupport.h"

namespace {

std::tm localNow() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

}  // namespace

TEST_F(ExpTest, FormatsGivenTimes) {
  EXPECT_EQ(str("[$TIME.FORMAT.UTC(0, \"%Y-%m-%d %H:%M:%S\")]"), "1970-01-01 00:00:00");
  EXPECT_EQ(str("[$TIME.FORMAT.UTC(1700000000, \"%d.%m.%Y %%\")]"), "14.11.2023 %");
  EXPECT_EQ(str("[$TIME.FORMAT.UTC(86400, \"%-d %5Y|%Ey\")]"), "2 01970|70");
  EXPECT_EQ(str("[$TIME.FORMAT.UTC(0, \"\")]"), "");
  const std::time_t t = 1700000000;
  std::tm local{};
  localtime_r(&t, &local);
  char expected[16];
  std::strftime(expected, sizeof expected, "%H:%M", &local);
  EXPECT_EQ(str("[$TIME.FORMAT.LOCAL(1700000000, \"%H:%M\")]"), expected);
}

TEST_F(ExpTest, FormatMistakesAreNamed) {
  const struct {
    const char* format;
    int position;
  } cases[] = {{"%Q", 1}, {"abc %", 5}, {"%Y %999Y", 4}, {"%E", 1}, {"%%%", 3}};
  for (const auto& c : cases) {
    const std::string format = c.format;
    EXPECT_EQ(failure("[$TIME.FORMAT.UTC(0, \"" + format + "\")]").why,
              "Format '" + format + "' has an invalid conversion at position " +
                  std::to_string(c.position) + ".")
        << c.format;
  }
}

TEST_F(ExpTest, ClockParts) {
  const std::tm tm = localNow();
  EXPECT_EQ(one("[$YEAR(\"INTEGER\")]").integer(), tm.tm_year + 1900);
  EXPECT_EQ(str("[$YEAR()]"), std::to_string(tm.tm_year + 1900));
  EXPECT_EQ(one("[$DATE(\"integer\")]").integer() / 10000, tm.tm_year + 1900);
  const std::int64_t month = one("[$MONTH(\"integer\")]").integer();
  const std::int64_t day = one("[$DAY(\"integer\")]").integer();
  EXPECT_TRUE(month >= 1 && month <= 12 && day >= 1 && day <= 31) << month << " " << day;
  const std::int64_t hhmm = one("[$TIME(\"integer\")]").integer();
  EXPECT_TRUE(hhmm >= 0 && hhmm <= 2359 && hhmm % 100 < 60) << hhmm;
  EXPECT_GE(str("[$MONTH]").size(), 3u);  // a month name
  const nuv::CVariant utc = one("[$TIME.UTC()]");
  EXPECT_EQ(utc.type(), nuv::CVariantType::dt_time);
  EXPECT_LE(std::llabs(utc.time().get() - std::time(nullptr)), 2);

  EXPECT_EQ(failure("[$DATE(\"number\")]"),
            (Failure{"exp_eval", "CFunctionCall::run", "Failed to execute function $DATE().",
                     "Argument 'number' must be 'integer' or 'string'."}));
  EXPECT_EQ(failure("[$YEAR(1, 2)]").why, "Too many arguments.");
  EXPECT_EQ(failure("[$TIME.UTC(1)]").why, "Too many arguments.");
  EXPECT_EQ(failure("[$TIME.FORMAT.LOCAL(0)]").why, "Not enough arguments.");
}
