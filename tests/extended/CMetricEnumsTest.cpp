#include <gtest/gtest.h>

#include "extended/CMetricEnums.h"
#include "tests/fixtures/FailureOf.h"

TEST(CMetricEnumsTest, LooksUpBothWays) {
  CMetricEnums metrics;
  EXPECT_EQ(metrics.index("[%s].[%s].[%s].execute"), CMetricEnums::execute);
  EXPECT_FALSE(metrics.isNamed(999));
  EXPECT_EQ(metrics.name(999), "unknown_metric");
  EXPECT_EQ(metrics.suffix(999), "unknown_metric");
  EXPECT_EQ(metrics.index("execute"), -1);  // a suffix is not a template
  EXPECT_EQ(metrics.index("unknown_metric"), -1);

  metrics.name(-5, "plain");  // any identifier, any text
  EXPECT_EQ(metrics.index("plain"), -5);
  EXPECT_EQ(metrics.suffix(-5), "plain");
}

TEST(CMetricEnumsTest, AnIdentifierRegistersOnce) {
  CMetricEnums metrics;
  const std::string again = CMetricEnums::makeTemplate("again");
  EXPECT_EQ(failureOf([&] { metrics.name(CMetricEnums::execute, again); }),
            (Failure{"extended", "CMetricEnums::name",
                     "Failed to register metric 1 with name '[%s].[%s].[%s].again'.",
                     "Metric is already defined."}));
  EXPECT_EQ(metrics.name(CMetricEnums::execute), "[%s].[%s].[%s].execute");
  EXPECT_EQ(metrics.index(again), -1);
}
