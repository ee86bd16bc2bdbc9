#include <gtest/gtest.h>

#include "extended/CSystemMode.h"
#include "tests/fixtures/FailureOf.h"

TEST(CSystemModeTest, NamesAndValuesRoundTrip) {
  const char* const names[] = {"unknown", "init",     "paused", "servicing",
                               "standby", "learning", "error"};
  for (unsigned v = 0; v < 7; ++v) {
    const CSystemMode mode = CSystemMode::fromValue(v);
    EXPECT_EQ(mode.value(), v);
    EXPECT_EQ(mode.string(), names[v]);
    EXPECT_EQ(CSystemMode::parse(names[v]), mode);
  }
  EXPECT_EQ(CSystemMode::parse("Servicing"), CSystemMode::servicing);
  EXPECT_EQ(CSystemMode().string(), "unknown");
  EXPECT_EQ(sizeof(CSystemMode), 1u);
}

TEST(CSystemModeTest, RejectsUnknownValuesAndNames) {
  EXPECT_EQ(failureOf([] { CSystemMode::fromValue(7); }),
            (Failure{"extended", "CSystemMode::fromValue", "Cannot create system mode 7.",
                     "Invalid value."}));
  EXPECT_EQ(failureOf([] { CSystemMode::parse("running"); }),
            (Failure{"extended", "CSystemMode::parse", "Cannot parse system mode 'running'.",
                     "Unknown mode."}));
  EXPECT_THROW(CSystemMode::parse(""), nuv::CException);
}
