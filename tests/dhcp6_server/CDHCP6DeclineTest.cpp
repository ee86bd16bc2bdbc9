// Decline as a client sees it: the leases of the addresses it found
// unusable are deleted, up to the first one the server has no record of.
#include "dhcp6_server/CDHCP6Decline.h"
#include "tests/dhcp6_server/LeasingFixture.h"

using namespace served;

namespace {

struct DeclineFixture : LeasingFixture {
  void SetUp() override {
    LeasingFixture::SetUp();
    if (!tls) return;
    lease("2001:db8:1::10");
    lease("2001:db8:1::11");
  }
  std::shared_ptr<CDHCP6Packet> decline(const std::string& options) {
    return clientMessage(9, thisServer() + options);
  }
};

}  // namespace

TEST_P(DeclineFixture, TheDeclinedLeasesAreDeletedUpToTheFirstUnknownOne) {
  const auto reply = decline(
      iaNA(1, iaAddr("2001:db8:1::10") + iaAddr("2001:db8:1::99") + iaAddr("2001:db8:1::11")));
  ASSERT_TRUE(reply);
  COptionPtr top;
  ASSERT_TRUE(reply->hostOptions()->find(CTagPath{13}, top));
  EXPECT_EQ(top->string(), "{ code = 0, message = \"success\" }");
  EXPECT_EQ(status(reply, 3), "{ code = 3, message = \"no_binding\" }");
  // The first is gone, the third was not looked at.
  EXPECT_EQ(durations(), std::vector<std::string>{"2001:db8:1::11 7200"});
  EXPECT_TRUE(
      logged("info: [decline/0x123456] Received message 'DECLINE' from device "
             "'00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1."));
  EXPECT_TRUE(
      logged("info: [decline/0x123456] Received message 'DECLINE' from device "
             "'00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1, but I have no "
             "record of that binding."));
  EXPECT_TRUE(events.lines.empty());
}

TEST_P(DeclineFixture, AFullyKnownDeclineSaysSuccessOnly) {
  const auto reply = decline(iaNA(1, iaAddr("2001:db8:1::11")));
  ASSERT_TRUE(reply);
  EXPECT_FALSE(reply->hostOptions()->defined(CTagPath{3}));
  EXPECT_EQ(durations(), std::vector<std::string>{"2001:db8:1::10 7200"});
}

TEST_P(DeclineFixture, ADeclineForAnotherServerIsNotAnsweredAndChangesNothing) {
  EXPECT_FALSE(clientMessage(
      9, opt(2, std::string("\x00\x03\x00\x01\x09", 5)) + iaNA(1, iaAddr("2001:db8:1::10"))));
  EXPECT_TRUE(logged("info: [decline/0x123456] Discarding 'DECLINE' message (serverDUID != me)."));
  EXPECT_EQ(durations().size(), 2u);
}

NUV_PRST_BACKENDS(DeclineFixture);
