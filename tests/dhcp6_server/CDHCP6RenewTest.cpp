// Renew as a client sees it: the leases it names are extended, refused
// with lifetimes 0, or left out when unknown; an IA with nothing says
// NoBinding. Only the extended leases change and are announced.
#include "dhcp6_server/CDHCP6Renew.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "tests/dhcp6_server/LeasingFixture.h"

using namespace served;

namespace {

const char* const kOtherLink = "2001:db8:2::1";

struct RenewFixture : LeasingFixture {
  void SetUp() override {
    LeasingFixture::SetUp();
    if (!tls) return;
    // Leases that have run for a while: 100 seconds of 7200 left.
    lease("2001:db8:1::10", 1, "iana", "lease_duration = 100");
    lease("2001:db8:1::11", 1, "iana", "lease_duration = 100");
    prefixLease("lease_duration = 100");
  }
  std::shared_ptr<CDHCP6Packet> renew(const std::string& options, const char* link = kLink) {
    return clientMessage(5, thisServer() + options, link);
  }
};

}  // namespace

TEST_P(RenewFixture, KnownLeasesAreExtendedAndUnknownOnesLeftOut) {
  Offer na;
  ASSERT_TRUE(offer(renew(iaNA(1, iaAddr("2001:db8:1::10") + iaAddr("2001:db8:1::99"))), 3, na));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:1::10 3600 7200"});
  EXPECT_EQ(na.t1, 1800u);
  EXPECT_EQ(na.t2, 2880u);
  // The named lease runs for the pool's lifetime from now; the other not.
  EXPECT_EQ(durations(), (std::vector<std::string>{"2001:db8:1::10 7200", "2001:db8:1::11 100"}));
  const std::string pool = std::to_string(lanPool);
  EXPECT_EQ(events.lines, std::vector<std::string>{"renew address_lease 2001:db8:1::10 pool=" +
                                                   pool + " host='' family=6"});
}

TEST_P(RenewFixture, APrefixRenewalIsAnnouncedWithThePrefix) {
  Offer pd;
  ASSERT_TRUE(offer(renew(iaPD(2, iaPrefix("2001:db8:100::", 56))), 25, pd));
  EXPECT_EQ(pd.leases, std::vector<std::string>{"2001:db8:100::/56 3600 7200"});
  EXPECT_EQ(events.lines, std::vector<std::string>{"renew network_lease 2001:db8:100:: pool=" +
                                                   std::to_string(pdPool) + " host='' family=6"});
}

TEST_P(RenewFixture, WhatCannotBeExtendedComesBackWithLifetimesZero) {
  lease("2001:db8:2::10", 3, "iana", "lease_duration = 100", kOtherLink);
  addressPool("closed", "2001:db8:1:1::10", "2001:db8:1:1::ff", kLink,
              "prefix = 2001:db8:1:1::\nallow = [false]");
  lease("2001:db8:1:1::10", 1, "iana", "lease_duration = 100", kLink, "closed");
  Offer na;
  // Made on another link: the client has moved.
  ASSERT_TRUE(offer(renew(iaNA(3, iaAddr("2001:db8:2::10"))), 3, na));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:2::10 0 0"});
  EXPECT_EQ(na.t1, 0u);
  // A pool closed to the client now; beside a good lease, whose lifetimes
  // alone set the timers.
  ASSERT_TRUE(offer(renew(iaNA(1, iaAddr("2001:db8:1:1::10") + iaAddr("2001:db8:1::11"))), 3, na));
  EXPECT_EQ(na.leases,
            (std::vector<std::string>{"2001:db8:1:1::10 0 0", "2001:db8:1::11 3600 7200"}));
  EXPECT_EQ(na.t1, 1800u);
  EXPECT_EQ(na.t2, 2880u);
  // Disabled after the lease was made.
  tls->startTransaction();
  auto pool = session().findPK<CPrstAddressPool6>(lanPool);
  pool->active(false);
  pool->commit();
  tls->commitTransaction();
  ASSERT_TRUE(offer(renew(iaNA(1, iaAddr("2001:db8:1::10"))), 3, na));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:1::10 0 0"});
  // Only the good lease was extended and announced.
  EXPECT_EQ(events.lines.size(), 1u);
  EXPECT_EQ(durations(), (std::vector<std::string>{"2001:db8:1::10 100", "2001:db8:1::11 7200",
                                                   "2001:db8:2::10 100", "2001:db8:1:1::10 100"}));
}

TEST_P(RenewFixture, AnIAWithNothingToReturnSaysNoBinding) {
  const auto reply = renew(iaNA(1, iaAddr("2001:db8:1::99")) + iaPD(4));
  ASSERT_TRUE(reply);
  EXPECT_EQ(status(reply, 3), "{ code = 3, message = \"no_binding\" }");
  EXPECT_EQ(status(reply, 25), "{ code = 3, message = \"no_binding\" }");
  Offer na;
  ASSERT_TRUE(offer(reply, 3, na));
  EXPECT_TRUE(na.leases.empty());
  EXPECT_TRUE(
      logged("info: [renew/0x123456] No address leases are available to be renewed for "
             "device '00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1."));
  EXPECT_TRUE(
      logged("info: [renew/0x123456] No prefix leases are available to be renewed for "
             "device '00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1."));
}

TEST_P(RenewFixture, ARenewForAnotherServerIsNotAnsweredAndChangesNothing) {
  EXPECT_FALSE(clientMessage(
      5, opt(2, std::string("\x00\x03\x00\x01\x09", 5)) + iaNA(1, iaAddr("2001:db8:1::10"))));
  EXPECT_TRUE(logged("info: [renew/0x123456] Discarding 'RENEW' (serverDUID != me)."));
  EXPECT_EQ(durations()[0], "2001:db8:1::10 100");
  EXPECT_TRUE(events.lines.empty());
}

TEST_P(RenewFixture, ATemporaryAddressIsRenewedInAnIATA) {
  lease("2001:db8:1::30", 3, "iata", "lease_duration = 100");
  Offer ta;
  const auto reply = renew(iaTA(3, iaAddr("2001:db8:1::30")));
  ASSERT_TRUE(offer(reply, 4, ta));
  EXPECT_EQ(ta.leases, std::vector<std::string>{"2001:db8:1::30 3600 7200"});
  EXPECT_FALSE(reply->hostOptions()->defined(CTagPath{3}));
}

NUV_PRST_BACKENDS(RenewFixture);
