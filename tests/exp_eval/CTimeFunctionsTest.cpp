#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "exp_eval/CTimeFunctions.h"
#include "tests/exp_eval/ExpTestSupport.h"

namespace {

// Local time is UTC here, so that local and UTC results can be compared.
class TimeTest : public ExpTest {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    m_savedTZ = tz ? tz : "";
    m_hadTZ = tz != nullptr;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (m_hadTZ)
      setenv("TZ", m_savedTZ.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  std::tm now() const {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    return tm;
  }

 private:
  std::string m_savedTZ;
  bool m_hadTZ = false;
};

}  // namespace

TEST_F(TimeTest, FormatsGivenTimes) {
  EXPECT_EQ(str("[$TIME.FORMAT.UTC(0, \"%Y-%m-%d %H:%M:%S\")]"), "1970-01-01 00:00:00");
  EXPECT_EQ(str("[$TIME.FORMAT.UTC(1700000000, \"%d.%m.%Y %%\")]"), "14.11.2023 %");
  EXPECT_EQ(str("[$TIME.FORMAT.LOCAL(1700000000, \"%H:%M\")]"), "22:13");
  EXPECT_EQ(str("[$TIME.FORMAT.UTC(86400, \"%-d %5Y|%Ey\")]"), "2 01970|70");
  EXPECT_EQ(str("[$TIME.FORMAT.UTC(0, \"\")]"), "");
  EXPECT_EQ(str("[$TIME.FORMAT.UTC($TIME.UTC(), \"%Y\")]"), std::to_string(now().tm_year + 1900));
}

TEST_F(TimeTest, FormatMistakesAreNamed) {
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

TEST_F(TimeTest, ClockParts) {
  const std::tm tm = now();
  const std::int64_t date = one("[$DATE(\"integer\")]").integer();
  EXPECT_EQ(date / 10000, tm.tm_year + 1900);
  EXPECT_EQ(one("[$YEAR(\"INTEGER\")]").integer(), tm.tm_year + 1900);
  EXPECT_EQ(str("[$YEAR()]"), std::to_string(tm.tm_year + 1900));
  EXPECT_EQ(one("[$MONTH(\"integer\")]").integer(), tm.tm_mon + 1);
  EXPECT_EQ(str("[$MONTH]").size() >= 3, true);  // a month name
  EXPECT_EQ(one("[$DAY(\"integer\")]").integer(), tm.tm_mday);
  const std::int64_t hhmm = one("[$TIME(\"integer\")]").integer();
  EXPECT_TRUE(hhmm >= 0 && hhmm <= 2359 && hhmm % 100 < 60) << hhmm;
  EXPECT_EQ(one("[$DATE(\"string\")]").type(), nuv::CVariantType::dt_string);
  const nuv::CVariant utc = one("[$TIME.UTC()]");
  EXPECT_EQ(utc.type(), nuv::CVariantType::dt_time);
  EXPECT_LE(std::llabs(utc.time().get() - std::time(nullptr)), 2);
}

TEST_F(TimeTest, ClockFailures) {
  EXPECT_EQ(failure("[$DATE(\"number\")]"),
            (Failure{"exp_eval", "CFunctionCall::run", "Failed to execute function $DATE().",
                     "Argument 'number' must be 'integer' or 'string'."}));
  EXPECT_EQ(failure("[$YEAR(1, 2)]").why, "Too many arguments.");
  EXPECT_EQ(failure("[$TIME.UTC(1)]").why, "Too many arguments.");
  EXPECT_EQ(failure("[$TIME.FORMAT.LOCAL(0)]").why, "Not enough arguments.");
}
