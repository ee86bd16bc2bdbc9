// The address manager on real databases (SQLite, and PostgreSQL through
// scripts/with_pg.sh), always called inside the caller's open transaction
// as the message processors call it: what is free in a pool, where the
// search goes on, and that no two threads hand out the same candidate.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <thread>

#include "dhcp6_server/CDHCP6Context.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_server_common/CDHCPStatsStub.h"
#include "dhcp_server_common/CNoAddressAvailException.h"
#include "oodb/CPrstException.h"
#include "plugins/addr_mgr/CAddrMgr.h"
#include "tests/fixtures/CPrstBackendTest.h"
#include "tests/fixtures/CWatchdog.h"
#include "tests/fixtures/StoreRecord.h"

using A = nuv::CIPAddress;

namespace {

const std::string kLease = "client_id = 00-01\nlease_duration = 3600\ndomains = 2\nrelay = ::\n";

// A clock the test moves by hand, for the reservations' hold.
struct CHandClock {
  CPoolCandidates::Clock::time_point now{};
  std::function<CPoolCandidates::Clock::time_point()> fn() {
    return [this] { return now; };
  }
};

}  // namespace

class CAddrMgrTest : public CPrstBackendTest {
 protected:
  void SetUp() override {
    CPrstBackendTest::SetUp();
    if (!session) return;  // skipped, or the database did not open
    context = std::make_unique<CDHCP6Context>(&database->controller, true);
    context->dhcpMediator().optionFactory();
    session = database->db().openSession({&factory});
    context->prstSession(session.get());
  }
  void TearDown() override {
    if (context) context->prstSession(nullptr);
    session.reset();
    context.reset();
    CPrstBackendTest::TearDown();
  }

  template <class Record>
  std::int32_t store(const std::string& text) {
    return storeRecord<Record>(*session, text);
  }
  std::int32_t pool(const std::string& name, const std::string& start, const std::string& stop,
                    const std::string& more = "") {
    return store<CPrstAddressPool6>(
        "name = " + name + "\nvalid_lt = 3600\nprefix_len = 64\nrelay = ::\nrangestart = " + start +
        "\nrangestop = " + stop + "\n" + more);
  }
  std::int32_t prefixPool(const std::string& name, const std::string& prefix, unsigned len,
                          unsigned subLen, const std::string& start, const std::string& stop) {
    return store<CPrstNetworkPool6>(
        "name = " + name + "\nvalid_lt = 3600\nrelay = ::\nprefix = " + prefix +
        "\nprefix_len = " + std::to_string(len) + "\nsub_prefix_len = " + std::to_string(subLen) +
        "\nrangestart = " + start + "\nrangestop = " + stop);
  }
  // Leases of the addresses (prefixes of subLen bits), all in one transaction.
  void lease(const std::vector<A>& addresses, const std::string& more = "", unsigned subLen = 128) {
    CPrstTransaction tx(*session);
    for (const A& a : addresses) {
      auto b =
          session->createTransient(subLen == 128 ? "CPrstAddressBinding6" : "CPrstNetworkBinding6");
      b->string(kLease + "iaid = " + std::to_string(++m_iaid) +
                (subLen == 128 ? "\niatype = iana"
                               : "\niatype = iapd\nprefix_len = " + std::to_string(subLen)) +
                "\nipaddr = " + a.string() + "\n" + more);
      b->commit();
    }
    tx.commit();
  }
  // The next candidate of the pools, taken inside a transaction of the
  // caller's as a message processor takes it, or the failure's text.
  std::string take(CAddrMgr& manager, std::vector<long> pools, int kind = 0) {
    CPrstTransaction tx(*session);
    A address;
    long from = 0;
    try {
      manager.getPoolCandidate(kind, pools, address, from, stats);
    } catch (const CNoAddressAvailException& e) {
      return e.whatText();
    }
    tx.commit();
    return address.string() + (pools.size() > 1 ? " from " + std::to_string(from) : "");
  }
  std::vector<std::string> takeAll(CAddrMgr& manager, long pool, std::size_t n, int kind = 0) {
    std::vector<std::string> out;
    while (out.size() < n) out.push_back(take(manager, {pool}, kind));
    return out;
  }
  // An offer of the address, stored in the current transaction.
  void offer(CIPrstSession& s, const A& address, std::int32_t poolOID) {
    auto p = s.createTransient<CPrstAddressPending6>();
    p->applyBindingID(CBinding6Identifier(nuv::CHexStore::parse("00-02"), CIAType::iana,
                                          static_cast<std::uint32_t>(++m_iaid)));
    p->offeredAddress(address);
    p->relayAddress(A("::"));
    p->poolOID(poolOID);
    p->offerTime(nuv::CTimeT::now());
    p->commit();
  }

  CPrstDHCP6ObjectAbstractFactory factory{nullptr};
  std::unique_ptr<CDHCP6Context> context;
  CPoolCandidates candidates;
  CDHCPStatsStub stats;
  std::uint32_t m_iaid = 0;
};

TEST_P(CAddrMgrTest, UsedExcludedFixedAndReservedAddressesAreSkipped) {
  const std::int32_t lan =
      pool("lan", "2001:db8:1::10", "2001:db8:1::1a", "xrange = 2001:db8:1::14-2001:db8:1::16");
  pool("other", "2001:db8:2::10", "2001:db8:2::1a");
  lease({A("2001:db8:1::10")}, "source_pool = lan");
  lease({A("2001:db8:1::11")}, "fixed = true");         // an operator's, in no pool
  lease({A("2001:db8:1::17")}, "source_pool = other");  // whatever pool it names
  {
    CPrstTransaction tx(*session);
    offer(*session, A("2001:db8:1::13"), lan);
    tx.commit();
  }
  ASSERT_TRUE(candidates.reserve(0, A("2001:db8:1::18")));  // another thread's
  CAddrMgr manager(*context, candidates);
  // After the highest used one (the reserved one is passed over), then
  // from the range start.
  EXPECT_EQ(takeAll(manager, lan, 4),
            (std::vector<std::string>{"2001:db8:1::19", "2001:db8:1::1a", "2001:db8:1::12",
                                      "No free addresses available."}));
  // Handed back, it is found again after the cursor (::12), past the
  // offered, excluded, other pool's and reserved ones.
  manager.releasePoolCandidate(0, A("2001:db8:1::19"), lan, stats);
  EXPECT_EQ(take(manager, {lan}), "2001:db8:1::19");
  EXPECT_EQ(manager.rights(0, lan).string(), "renew,create");
}

TEST_P(CAddrMgrTest, PoolsAreTriedInOrderAndDisabledOnesPassedOver) {
  const std::int32_t small = pool("small", "2001:db8:1::10", "2001:db8:1::11");
  const std::int32_t off = pool("off", "2001:db8:2::10", "2001:db8:2::11", "enabled = false");
  const std::int32_t big = pool("big", "2001:db8:3::10", "2001:db8:3::ff");
  CAddrMgr one(*context, candidates), two(*context, candidates);
  const std::vector<long> order{small, off, big};
  EXPECT_EQ(take(one, order), "2001:db8:1::10 from " + std::to_string(small));
  EXPECT_EQ(take(two, order), "2001:db8:1::11 from " + std::to_string(small));
  EXPECT_EQ(take(one, order), "2001:db8:3::10 from " + std::to_string(big));
  EXPECT_EQ(take(one, {off}), "No free addresses available.");
  EXPECT_EQ(candidates.count(), 3u);
}

TEST_P(CAddrMgrTest, TheSearchGoesOnAfterTheHighestUsedCandidate) {
  // Each case starts as a restarted server: new shared state, leases stored.
  struct Case {
    const char* name;
    int kind;
    unsigned subLen;
    std::vector<A> used;
    std::vector<std::string> taken;
  };
  const Case cases[] = {
      {"after the highest lease, not in the first gap",
       0,
       128,
       {A("2001:db8:1::10"), A("2001:db8:1::12"), A("2001:db8:1::15")},
       {"2001:db8:1::16", "2001:db8:1::17"}},
      {"a /64 pool wraps at its end",
       0,
       128,
       {A("2001:db8:5::1"), A("2001:db8:5:0:ffff:ffff:ffff:fffe")},
       {"2001:db8:5:0:ffff:ffff:ffff:ffff", "2001:db8:5::", "2001:db8:5::2"}},
      {"a /40 pool of /56 prefixes",
       1,
       56,
       {A("2001:db8:ff:fe00::"), A("2001:db8::")},
       {"2001:db8:ff:ff00::", "2001:db8:0:100::", "2001:db8:0:300::"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CPoolCandidates restarted;
    CAddrMgr manager(*context, restarted);
    std::int32_t oid = 0;
    if (c.kind == 0) {
      const A first = c.used.front().createPrefix(64);
      oid = pool("p" + std::to_string(&c - cases), first.string(),
                 (first | ~A("ffff:ffff:ffff:ffff::")).string());
      lease(c.used);
    } else {
      oid = prefixPool("pd", "2001:db8::", 40, 56, "2001:db8::", "2001:db8:ff:ff00::");
      lease(c.used, "", 56);
      // A fixed /64 inside the second /56 takes all of it.
      lease({A("2001:db8:0:2ab::")}, "fixed = true", 64);
    }
    EXPECT_EQ(takeAll(manager, oid, c.taken.size(), c.kind), c.taken);
  }
}

TEST_P(CAddrMgrTest, ANearlyFullPoolFindsItsLastFreeAddresses) {
  // 298 of 300 leased: the two free ones lie behind pages of used ones.
  const std::int32_t full = pool("full", "2001:db8:1::1000", "2001:db8:1::112b");
  std::vector<A> used;
  for (std::uint64_t i = 0; i < 300; ++i)
    if (i != 50 && i != 250) used.push_back(A("2001:db8:1::1000") + i);
  lease(used);
  CAddrMgr manager(*context, candidates);
  // The highest is leased: the first search wraps to the start at once.
  EXPECT_EQ(take(manager, {full}), "2001:db8:1::1032");
  EXPECT_EQ(take(manager, {full}), "2001:db8:1::10fa");  // after the cursor
  EXPECT_EQ(take(manager, {full}), "No free addresses available.");
  manager.releasePoolCandidate(0, A("2001:db8:1::1032"), full, stats);
  EXPECT_EQ(take(manager, {full}), "2001:db8:1::1032");  // before the cursor
}

TEST_P(CAddrMgrTest, ThePrefixPoolsOwnLeasesAndExhaustion) {
  const std::int32_t pd =
      prefixPool("pd", "2001:db8::", 48, 56, "2001:db8:0:100::", "2001:db8:0:300::");
  lease({A("2001:db8:0:200::")}, "", 56);
  CAddrMgr manager(*context, candidates);
  EXPECT_EQ(takeAll(manager, pd, 3, 1),
            (std::vector<std::string>{
                "2001:db8:0:300::", "2001:db8:0:100::", "No free prefixes available."}));
}

TEST_P(CAddrMgrTest, TheCallersUncommittedOffersCount) {
  const std::int32_t lan = pool("lan", "2001:db8:1::10", "2001:db8:1::11");
  CAddrMgr manager(*context, candidates);
  CPrstTransaction tx(*session);
  A address;
  long from = 0;
  manager.getPoolCandidate(0, {lan}, address, from, stats);
  offer(*session, address, lan);
  // Even without its reservation, the offer written in this very
  // transaction keeps the address from being handed out again.
  manager.releasePoolCandidate(0, address, lan, stats);
  A second;
  manager.getPoolCandidate(0, {lan}, second, from, stats);
  tx.commit();
  EXPECT_EQ(address.string(), "2001:db8:1::10");
  EXPECT_EQ(second.string(), "2001:db8:1::11");
}

TEST_P(CAddrMgrTest, AReservationExpiresAfterItsHoldUnlessReleased) {
  const std::int32_t one = pool("one", "2001:db8:1::10", "2001:db8:1::10");
  CHandClock clock;
  CPoolCandidates held(std::chrono::seconds(60), clock.fn());
  CAddrMgr a(*context, held), b(*context, held);
  // a's offer vanished without a release (another server removed it).
  EXPECT_EQ(take(a, {one}), "2001:db8:1::10");
  clock.now += std::chrono::seconds(59);
  EXPECT_EQ(take(b, {one}), "No free addresses available.");
  clock.now += std::chrono::seconds(1);
  EXPECT_EQ(take(b, {one}), "2001:db8:1::10");
  b.releasePoolCandidate(0, A("2001:db8:1::10"), one, stats);
  EXPECT_EQ(take(a, {one}), "2001:db8:1::10");
}

TEST_P(CAddrMgrTest, TwoThreadsNeverGetTheSameCandidate) {
  CWatchdog dog(std::chrono::seconds(300));
  constexpr std::size_t kEach = 1000;
  const std::int32_t lan = pool("lan", "2001:db8:1::", "2001:db8:1::ffff");
  std::vector<A> got[2];
  std::string failure[2];
  auto worker = [&](int index) {
    try {
      // Each thread has its own session and context, as worker threads do.
      auto s = database->db().openSession({&factory});
      CDHCP6Context mine(&database->controller, false);
      mine.prstSession(s.get());
      CAddrMgr manager(mine, candidates);
      while (got[index].size() < kEach) {
        A address;
        long from = 0;
        try {
          CPrstTransaction tx(*s);
          manager.getPoolCandidate(0, {lan}, address, from, stats);
          auto p = s->createTransient<CPrstAddressPending6>();
          p->applyBindingID(CBinding6Identifier(nuv::CHexStore::parse(index ? "00-02" : "00-01"),
                                                CIAType::iana,
                                                static_cast<std::uint32_t>(got[index].size())));
          p->offeredAddress(address);
          p->relayAddress(A("::"));
          p->offerTime(nuv::CTimeT::now());
          if (!p->commitUnique()) throw std::runtime_error("offered twice: " + address.string());
          tx.commit();
          got[index].push_back(address);
        } catch (const CPrstConflictException&) {
          manager.releasePoolCandidate(0, address, from, stats);  // run it again
        }
      }
      mine.prstSession(nullptr);
    } catch (const std::exception& e) {
      failure[index] = e.what();
    }
  };
  std::thread one(worker, 0), two(worker, 1);
  one.join();
  two.join();
  EXPECT_EQ(failure[0], "");
  EXPECT_EQ(failure[1], "");
  std::set<A> distinct(got[0].begin(), got[0].end());
  distinct.insert(got[1].begin(), got[1].end());
  EXPECT_EQ(distinct.size(), 2 * kEach);
}

NUV_PRST_BACKENDS(CAddrMgrTest);
