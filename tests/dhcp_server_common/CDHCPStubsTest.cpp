// The stubs that stand in for missing service plug-ins answer neutrally.
#include <gtest/gtest.h>

#include "dhcp_base/CDHCP6Packet.h"
#include "dhcp_base/CDHCPContext.h"
#include "dhcp_server_common/CDHCPAddrMgrStub.h"
#include "dhcp_server_common/CDHCPEvalStub.h"
#include "dhcp_server_common/CDHCPExtensionStub.h"
#include "dhcp_server_common/CDHCPLBalancerStub.h"
#include "dhcp_server_common/CDHCPLeaseQueryStub.h"
#include "dhcp_server_common/CDHCPRewriteStub.h"
#include "dhcp_server_common/CDHCPStatsStub.h"
#include "dhcp_server_common/CNodeContext.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/FailureOf.h"

TEST(CDHCPStubsTest, AddressManagerStubHasNothingToGiveAndPassesTimesThrough) {
  CDHCPAddrMgrStub stub;
  CDHCPStatsStub stats;
  nuv::CIPAddress address;
  long pool = 0;
  EXPECT_EQ(failureOf([&] {
              stub.getPoolCandidate(CIDHCPAddrMgr::addressPools, {1, 2}, address, pool, stats);
            }),
            (Failure{"dhcp_server_common", "CDHCPAddrMgrStub::getAPoolCandidate",
                     "No free addresses available.",
                     "This stub does not provide address pool management."}));
  EXPECT_EQ(failureOf([&] { stub.failoverAdmin(); }).what, "No failover admin manager available.");
  EXPECT_EQ(stub.rights(CIDHCPAddrMgr::prefixPools, 7), CLeaseRights(CLeaseRights::none));
  EXPECT_EQ(stub.rights(0, 7).string(), "none");
  EXPECT_EQ(stub.allowedLeaseTime(0, 7, nuv::CIPAddress("2001:db8::1"), 3600u), 3600u);
}

TEST(CDHCPStubsTest, OtherStubsAnswerSoThatProcessingGoesOn) {
  // The stubs never look at the message: an empty one will do.
  CDHCPContext context(6);
  CNodeContext node(&context);
  CDHCP6Packet packet(&context, "test-packet");
  EXPECT_EQ(CDHCPExtensionStub().packet_received(), 0);
  EXPECT_EQ(CDHCPLeaseQueryStub().processLQ(node, packet, packet), 2);
  EXPECT_TRUE(CDHCPLBalancerStub().canService(node, 5000));
  std::uint8_t bytes[] = {1, 2, 3};
  std::size_t length = sizeof bytes;
  CDHCPRewriteStub().rewrite(bytes, length);
  EXPECT_EQ(length, 3u);
  EXPECT_EQ(bytes[2], 3);
}

TEST(CDHCPStubsTest, EvaluatorStubParsesButEvaluatesToNothing) {
  CRecordingController host;
  CDHCPEvalStub eval(&host);
  const auto tree = eval.parse("[1 + 2]");
  ASSERT_TRUE(tree);
  nuv::CMultiVariant results{nuv::CVariant(7)};
  eval.execute(results, *tree);
  EXPECT_TRUE(results.empty());
  ASSERT_EQ(host.logSink.lines.size(), 1u);
  EXPECT_EQ(host.logSink.lines[0],
            "error: Cannot execute expression. (No expression evaulator module is loaded.) "
            "[CDHCPEvalStub::execute]");
}
