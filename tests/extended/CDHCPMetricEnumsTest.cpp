#include <gtest/gtest.h>

#include "extended/CDHCPMetricEnums.h"
#include "tests/fixtures/FailureOf.h"

TEST(CDHCPMetricEnumsTest, RegistersEveryIdentifierOnce) {
  const CDHCPMetricEnums metrics;
  for (const auto& [id, nameTemplate] : metrics.all()) {
    EXPECT_EQ(nameTemplate.rfind("[%s].[%s].[%s].", 0), 0u) << id;
    EXPECT_EQ(metrics.index(nameTemplate), id) << nameTemplate;  // templates are distinct
  }
}

TEST(CDHCPMetricEnumsTest, ReregisteringAMetricFails) {
  CDHCPMetricEnums metrics;
  const std::string other = CDHCPMetricEnums::makeTemplate("packets.other");
  EXPECT_EQ(failureOf([&] { metrics.name(CDHCPMetricEnums::packetsV6Solicit, other); }).what,
            "Failed to register metric 18 with name '[%s].[%s].[%s].packets.other'.");
  EXPECT_EQ(metrics.suffix(18), "packets.v6_solicit");
}
