#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dhcp_server_common/CRawPktDataQueue.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/FailureOf.h"

TEST(CRawPktDataQueueTest, EmptyPoolGrowsByHalfItsInitialSizeAndSaysSo) {
  CRecordingController host;
  CRawPktDataQueue queue(&host, "DHCP6_TLS_BUFFERS", 4096, 10);
  std::vector<CRawPktDataPtr> held;
  for (int i = 0; i < 10; ++i) held.push_back(queue.free());
  EXPECT_TRUE(host.logSink.lines.empty());
  held.push_back(queue.free());
  EXPECT_EQ(queue.packetCount(), 15u);
  EXPECT_EQ(queue.pooledCount(), 4u);
  ASSERT_EQ(host.logSink.lines.size(), 2u);
  EXPECT_NE(host.logSink.lines[0].find("The packet pool 'DHCP6_TLS_BUFFERS' is exhausted."),
            std::string::npos)
      << host.logSink.lines[0];
  EXPECT_EQ(host.logSink.lines[1], "info: Adding 5 packet(s) to the packet pool.");
  held.clear();  // every packet goes back
  EXPECT_EQ(queue.pooledCount(), 15u);
}

TEST(CRawPktDataQueueTest, GrowthStepIsAtLeastOnePacket) {
  CRawPktDataQueue queue(nullptr, "one", 64, 1);
  EXPECT_EQ(queue.growthStep(), 1u);
  CRawPktDataPtr a = queue.free();
  CRawPktDataPtr b = queue.free();
  EXPECT_EQ(queue.packetCount(), 2u);
}

TEST(CRawPktDataQueueTest, ActiveIsFirstInFirstOutAndFailsWhenEmpty) {
  CRawPktDataQueue queue(nullptr, "q", 64, 4);
  for (unsigned length : {3u, 7u}) {
    CRawPktDataPtr p = queue.free();
    p->pktLen(length);
    queue.active(std::move(p));
  }
  EXPECT_EQ(queue.active()->pktLen(), 3u);
  EXPECT_EQ(queue.active()->pktLen(), 7u);
  EXPECT_EQ(failureOf([&] { queue.active(); }),
            (Failure{"dhcp_server_common", "CRawPktDataQueue::active",
                     "Cannot process active packet.", "No items in the packet work queue."}));
}

TEST(CRawPktDataQueueTest, ReturnedPacketsComeBackClearedAndAtTheCurrentSize) {
  CRawPktDataQueue queue(nullptr, "q", 64, 1);
  CRawPktDataPtr held = queue.free();
  std::memset(held->buffer(), 0xAB, 5);
  held->pktLen(5);
  held->srcAddr() = nuv::CIPAddress("fe80::1");
  queue.resize(4096);  // while the packet is out
  held.reset();
  CRawPktDataPtr again = queue.free();
  EXPECT_EQ(again->capacity(), 4096u);
  EXPECT_EQ(again->pktLen(), 0u);
  EXPECT_EQ(again->buffer()[0], 0);
  EXPECT_TRUE(again->srcAddr() == nuv::CIPAddress());
}
