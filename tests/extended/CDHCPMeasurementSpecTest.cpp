#include <gtest/gtest.h>

#include "extended/CDHCPMeasurementSpec.h"
#include "tests/fixtures/FailureOf.h"

TEST(CDHCPMeasurementSpecTest, RangesIncludeBothEnds) {
  CDHCPMeasurementSpec spec("task-x", 1, 6);
  EXPECT_FALSE(spec.hasMeasurements());
  spec.setMeasured(18, 32);
  EXPECT_EQ(spec.measuredCount(), 15u);
  EXPECT_TRUE(spec.isMeasured(18));
  EXPECT_TRUE(spec.isMeasured(32));
  EXPECT_FALSE(spec.isMeasured(17));
  EXPECT_FALSE(spec.isMeasured(33));
  spec.setMeasured(40, 40);
  spec.setMeasured(0);
  EXPECT_EQ(spec.measuredCount(), 17u);
  EXPECT_FALSE(spec.isMeasured(-1));
  EXPECT_FALSE(spec.isMeasured(107));
}

TEST(CDHCPMeasurementSpecTest, BadIdentifiersMarkNothing) {
  CDHCPMeasurementSpec spec;
  struct Case {
    std::int32_t first, last;
    const char* what;
    const char* why;
  };
  const Case cases[] = {
      {32, 18, "Cannot measure metrics 32 to 18.", "Invalid range."},
      {100, 107, "Cannot measure metrics 100 to 107.", "Unknown metric."},
      {-1, 3, "Cannot measure metrics -1 to 3.", "Unknown metric."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(failureOf([&] { spec.setMeasured(c.first, c.last); }),
              (Failure{"extended", "CDHCPMeasurementSpec::setMeasured", c.what, c.why}));
  EXPECT_EQ(failureOf([&] { spec.setMeasured(107); }).what, "Cannot measure metric 107.");
  EXPECT_FALSE(spec.hasMeasurements());
}

TEST(CDHCPMeasurementSpecTest, HandlerThreadSetAndUnion) {
  const CDHCPMeasurementSpec handler = CDHCPMeasurementSpec::forHandlerThread("3", 7, 6);
  EXPECT_EQ(handler.name(), "task-3");
  EXPECT_EQ(handler.instance(), 7u);
  EXPECT_EQ(handler.family(), CProtocolFamily(6));
  EXPECT_EQ(handler.measuredCount(), 15u + 10u + 4u + 1u);
  EXPECT_TRUE(handler.isMeasured(CDHCPMetricEnums::packetsDbUnavailable));
  EXPECT_TRUE(handler.isMeasured(CDHCPMetricEnums::recalledOffer));
  EXPECT_FALSE(handler.isMeasured(CDHCPMetricEnums::accepts));

  CDHCPMeasurementSpec other("other", 0, 4);
  other.setMeasured(CDHCPMetricEnums::accepts);
  other.setMeasured(CDHCPMetricEnums::packetsInput);
  other += handler;
  EXPECT_EQ(other.measuredCount(), 31u);
  EXPECT_EQ(other.name(), "other");
}
