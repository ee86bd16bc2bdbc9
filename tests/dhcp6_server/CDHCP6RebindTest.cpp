// Rebind as a client sees it: any server may answer, but only for leases
// it knows; one unknown lease or nothing to write leaves it silent, and a
// lease it may not extend comes back with lifetimes 0 and a reason logged.
#include "dhcp6_server/CDHCP6Rebind.h"
#include "tests/dhcp6_server/LeasingFixture.h"

using namespace served;

namespace {

struct RebindFixture : LeasingFixture {
  void SetUp() override {
    LeasingFixture::SetUp();
    if (!tls) return;
    lease("2001:db8:1::10", 1, "iana", "lease_duration = 100");
  }
  // No Server Identifier: a Rebind is for any server.
  std::shared_ptr<CDHCP6Packet> rebind(const std::string& options, const char* link = kLink) {
    return clientMessage(6, options, link);
  }
};

}  // namespace

TEST_P(RebindFixture, AKnownLeaseIsExtendedByAnyServer) {
  Offer na;
  ASSERT_TRUE(offer(rebind(iaNA(1, iaAddr("2001:db8:1::10"))), 3, na));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:1::10 3600 7200"});
  EXPECT_EQ(na.t1, 1800u);
  EXPECT_EQ(durations(), std::vector<std::string>{"2001:db8:1::10 7200"});
  EXPECT_EQ(events.lines.size(), 1u);
}

TEST_P(RebindFixture, AnUnknownLeaseOrNothingToWriteLeavesItUnanswered) {
  const struct {
    const char* what;
    std::string ias;
    const char* line;
  } cases[] = {
      {"unknown address", iaNA(1, iaAddr("2001:db8:1::99")),
       "info: [rebind/0x123456] Discarding 'REBIND' from device '00-03-00-01-02-00-00-00-00-02' "
       "for address 2001:db8:1::99. (No such binding.)"},
      {"unknown prefix", iaPD(2, iaPrefix("2001:db8:100::", 56)),
       "info: [rebind/0x123456] Discarding 'REBIND' from device '00-03-00-01-02-00-00-00-00-02' "
       "for prefix 2001:db8:100::. (No such binding.)"},
      {"IAs naming nothing", iaNA(1) + iaPD(2),
       "info: [rebind/0x123456] Discarding 'REBIND' from device '00-03-00-01-02-00-00-00-00-02'. "
       "(No addresses or prefixes for this device.)"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(rebind(c.ias)) << c.what;
    EXPECT_TRUE(logged(c.line)) << c.what;
  }
  EXPECT_EQ(durations(), std::vector<std::string>{"2001:db8:1::10 100"});
  EXPECT_TRUE(events.lines.empty());
}

TEST_P(RebindFixture, ALeaseItMayNotExtendComesBackWithLifetimesZero) {
  addressPool("b-lan", "2001:db8:2::10", "2001:db8:2::ff", "2001:db8:2::1");
  Offer na;
  // Made through relay A, rebound through relay B.
  ASSERT_TRUE(offer(rebind(iaNA(1, iaAddr("2001:db8:1::10")), "2001:db8:2::1"), 3, na));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:1::10 0 0"});
  EXPECT_EQ(na.t1, 0u);
  EXPECT_TRUE(
      logged("info: [rebind/0x123456] Refusing to rebind address 2001:db8:1::10 for device "
             "'00-03-00-01-02-00-00-00-00-02' on link 2001:db8:2::1. Not on link "
             "2001:db8:1::1."));
  // Its pool's rule refuses the client now.
  tls->startTransaction();
  auto pool = session().findPK<CPrstAddressPool6>(lanPool);
  pool->string("allow = [false]");
  pool->commit();
  tls->commitTransaction();
  ASSERT_TRUE(offer(rebind(iaNA(1, iaAddr("2001:db8:1::10"))), 3, na));
  EXPECT_EQ(na.leases, std::vector<std::string>{"2001:db8:1::10 0 0"});
  EXPECT_TRUE(
      logged("info: [rebind/0x123456] Refusing to rebind address 2001:db8:1::10 for device "
             "'00-03-00-01-02-00-00-00-00-02' on link 2001:db8:1::1. Pool lan is no "
             "longer accessible to this device."));
  EXPECT_EQ(durations(), std::vector<std::string>{"2001:db8:1::10 100"});
  EXPECT_TRUE(events.lines.empty());
}

NUV_PRST_BACKENDS(RebindFixture);
