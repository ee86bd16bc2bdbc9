#include <gtest/gtest.h>

#include "extended/CSystemMode.h"
#include "tests/fixtures/FailureOf.h"

// Modes arrive as event text and as numbers from other processes.
TEST(CSystemModeTest, RejectsUnknownValuesAndNames) {
  EXPECT_EQ(CSystemMode::parse("Servicing"), CSystemMode::servicing);
  EXPECT_EQ(failureOf([] { CSystemMode::fromValue(7); }),
            (Failure{"extended", "CSystemMode::fromValue", "Cannot create system mode 7.",
                     "Invalid value."}));
  EXPECT_EQ(failureOf([] { CSystemMode::parse("running"); }),
            (Failure{"extended", "CSystemMode::parse", "Cannot parse system mode 'running'.",
                     "Unknown mode."}));
  EXPECT_THROW(CSystemMode::parse(""), nuv::CException);
}
