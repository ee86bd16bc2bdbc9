#include <gtest/gtest.h>

#include "extended/CDHCPMetricEnums.h"
#include "tests/fixtures/FailureOf.h"

TEST(CDHCPMetricEnumsTest, RegistersEveryIdentifierOnce) {
  const CDHCPMetricEnums metrics;
  ASSERT_EQ(metrics.all().size(), 107u);
  EXPECT_EQ(metrics.all().begin()->first, 0);
  EXPECT_EQ(metrics.all().rbegin()->first, 106);
  for (const auto& [id, nameTemplate] : metrics.all()) {
    EXPECT_EQ(nameTemplate.rfind("[%s].[%s].[%s].", 0), 0u) << id;
    EXPECT_EQ(metrics.index(nameTemplate), id) << nameTemplate;  // templates are distinct
  }
}

TEST(CDHCPMetricEnumsTest, IdentifiersCarryTheirNames) {
  const CDHCPMetricEnums metrics;
  const std::pair<std::int32_t, const char*> cases[] = {
      {CDHCPMetricEnums::fail, "fail"},
      {CDHCPMetricEnums::packetsV4Discover, "packets.v4_discover"},
      {CDHCPMetricEnums::packetsV6Solicit, "packets.v6_solicit"},
      {CDHCPMetricEnums::packetsV6LeaseQueryReply, "packets.v6_lease_query_reply"},
      {CDHCPMetricEnums::recalledOffer, "recalled_offer"},
      {CDHCPMetricEnums::addressAvailable, "address.available"},
      {CDHCPMetricEnums::addressUnavailable, "address.unavailable"},
      {CDHCPMetricEnums::messageUpdateUpdateRequestAck, "message.update.update.request_ack"},
      {CDHCPMetricEnums::peerDisconnect, "peer.disconnect"},
      {CDHCPMetricEnums::packetsDbUnavailable, "packets.db_unavailable"},
  };
  for (const auto& [id, suffix] : cases) EXPECT_EQ(metrics.suffix(id), suffix) << id;
  EXPECT_EQ(CDHCPMetricEnums::packetsV6Solicit, 18);
  EXPECT_EQ(CDHCPMetricEnums::recalledOffer, 38);
  EXPECT_EQ(CDHCPMetricEnums::addressUnavailable, 52);
}

TEST(CDHCPMetricEnumsTest, ReregisteringAMetricFails) {
  CDHCPMetricEnums metrics;
  const std::string other = CDHCPMetricEnums::makeTemplate("packets.other");
  EXPECT_EQ(failureOf([&] { metrics.name(CDHCPMetricEnums::packetsV6Solicit, other); }).what,
            "Failed to register metric 18 with name '[%s].[%s].[%s].packets.other'.");
  EXPECT_EQ(metrics.suffix(18), "packets.v6_solicit");
}
