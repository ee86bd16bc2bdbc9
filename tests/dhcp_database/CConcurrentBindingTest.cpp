// Two handler threads, each with its own session, update the same binding:
// the database decides who wins, the loser's update raises the conflict
// exception (and is run again), and no update is silently lost.

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "dhcp_database/CPrstAddressBinding6.h"
#include "oodb/CPrstException.h"
#include "tests/dhcp_database/DHCPDatabaseFixture.h"

namespace {

const CBinding6Identifier kKey(nuv::CHexStore::parse("00-03-00-01-01"), CIAType::iana, 7);
const nuv::CIPAddress kRelay("2001:db8::1");

}  // namespace

class CConcurrentBindingTest : public DHCPDatabaseTest {
 protected:
  void SetUp() override {
    DHCPDatabaseTest::SetUp();
    if (!session) return;
    CPrstTransaction tx(*session);
    auto b = session->createTransient<CPrstAddressBinding6>();
    b->applyBindingID(kKey);
    b->ipAddr(nuv::CIPAddress("2001:db8::10"));
    b->ipRelay(kRelay);
    b->domainMemberships({CExtDomainID::allDevices});
    b->commit();
    tx.commit();
  }
  CPrstUserClassPtr<CPrstAddressBinding6> find(CIPrstSession& s) {
    auto all = std::make_shared<CDeviceAccessToken>(CExtDomainID::allDevices, CAccessRights::read);
    auto list = CPrstAddressBinding6::selectByKeyAndRelay(s, all, kKey, kRelay);
    return list.empty() ? CPrstUserClassPtr<CPrstAddressBinding6>() : list[0];
  }
  std::uint32_t stored() {
    auto s = openSession();
    return find(*s)->bindingCount();
  }
};

TEST_P(CConcurrentBindingTest, AStaleUpdateIsRefusedAndWinsAfterARetry) {
  std::promise<void> read, written;
  std::thread other([&] {
    auto s = openSession();
    read.get_future().wait();
    CPrstTransaction tx(*s);
    auto b = find(*s);
    b->bindingCount(b->bindingCount() + 10);
    b->commit();
    tx.commit();
    written.set_value();
  });
  auto s = openSession();
  s->begin();
  auto b = find(*s);
  s->commit();
  read.set_value();
  written.get_future().wait();
  other.join();

  s->begin();
  b->bindingCount(b->bindingCount() + 1);
  EXPECT_THROW(b->commit(), CPrstConflictException);
  EXPECT_FALSE(s->inTransaction());  // rolled back, nothing half-written
  EXPECT_EQ(b->bindingCount(), 0u);  // the stored value it last knew
  EXPECT_EQ(stored(), 10u);
  s->begin();
  b->refresh();
  b->bindingCount(b->bindingCount() + 1);
  b->commit();
  s->commit();
  EXPECT_EQ(stored(), 11u);
}

TEST_P(CConcurrentBindingTest, ConcurrentPacketsLoseNoUpdate) {
  constexpr int kPackets = 25;
  auto worker = [&](std::atomic<int>& conflicts) {
    auto s = openSession();
    for (int i = 0; i < kPackets; ++i) {
      for (;;) {  // a packet that lost a conflict runs again
        try {
          CPrstTransaction tx(*s);
          auto b = find(*s);
          b->bindingCount(b->bindingCount() + 1);
          b->commit();
          tx.commit();
          break;
        } catch (const CPrstConflictException&) {
          ++conflicts;
        }
      }
    }
  };
  std::atomic<int> conflicts{0};
  std::thread a(worker, std::ref(conflicts)), b(worker, std::ref(conflicts));
  a.join();
  b.join();
  EXPECT_EQ(stored(), 2u * kPackets) << conflicts << " conflicts";
}

NUV_PRST_BACKENDS(CConcurrentBindingTest);
