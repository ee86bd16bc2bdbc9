// The reclaimer on real databases (SQLite, and PostgreSQL through
// scripts/with_pg.sh): which leases it removes, that each removal is
// announced and counted once, that a lease renewed or removed by someone
// else between its selection and its deletion is left alone, that a freed
// address is handed out again, and that its thread runs, survives a failed
// run and stops at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>

#include "dhcp6_server/CDHCP6Context.h"
#include "dhcp_base/CDefinitionFiles.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_server_common/CDHCPStatsStub.h"
#include "dhcp_server_common/CLeaseEvent.h"
#include "dhcp_server_common/CNoAddressAvailException.h"
#include "extended/CDHCPConfigNames.h"
#include "extended/CDHCPMetricEnums.h"
#include "plugins/addr_mgr/CAddrMgr.h"
#include "plugins/addr_mgr/CReclaimer.h"
#include "tests/dhcp6_server/CRecordingDDNS.h"
#include "tests/fixtures/CPrstBackendTest.h"
#include "tests/fixtures/CWatchdog.h"
#include "tests/fixtures/StoreRecord.h"

using A = nuv::CIPAddress;
using Key = CDHCPConfigNames::DHCPKey;

namespace {

// Keeps what is published, from any thread.
class CRecordingBus : public CISystemBus {
 public:
  std::int64_t publish(std::shared_ptr<CAppEvent> event, int) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.push_back(std::move(event));
    return static_cast<std::int64_t>(m_events.size());
  }
  void subscribe(CIEventSubscriber*, std::vector<std::string>, CEventExecutor) override {}
  void unsubscribe(CIEventSubscriber*) override {}
  std::vector<std::shared_ptr<const CAppEvent>> history() const override {
    std::lock_guard<std::mutex> lock(m_mutex);
    return {m_events.begin(), m_events.end()};
  }
  // "type class address pool instance" of every event, in order.
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const auto& e : history()) {
      const auto* lease = dynamic_cast<const CLeaseEvent*>(e.get());
      out.push_back(e->evtType + " " + e->evtClass + " " +
                    (lease ? lease->address.string() + " " + std::to_string(lease->poolOID)
                           : std::string("?")) +
                    " " + e->evtInstance);
    }
    return out;
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<std::shared_ptr<CAppEvent>> m_events;
};

// Counts the removals the reclaimer reports.
class CCountingStats : public CIDHCPStats {
 public:
  void inc(std::int32_t metric) override {
    if (metric == CDHCPMetricEnums::bindingReclaimed) ++reclaimed;
  }
  void set(std::int32_t, std::uint64_t) override {}
  void sample() override {}
  std::atomic<int> reclaimed{0};
};

constexpr std::uint32_t kLead = 10;

}  // namespace

class CReclaimerTest : public CPrstBackendTest {
 protected:
  void SetUp() override {
    CDefinitionFiles::readOptions(definitions.optionLookup(),
                                  std::string(NUV_SOURCE_DIR) + "/data/options6.spec");
    CPrstBackendTest::SetUp();
    if (!session) return;  // skipped, or the database did not open
    session = database->db().openSession({&factory});
    reclaimer = std::make_unique<CReclaimer>(
        database->controller, [this] { return openSession(); }, bus, stats);
  }
  void TearDown() override {
    reclaimer.reset();
    if (context) context->prstSession(nullptr);
    session.reset();
    context.reset();
    CPrstBackendTest::TearDown();
  }

  std::unique_ptr<CIPrstSession> openSession() { return database->db().openSession({&factory}); }

  std::int32_t pool(const std::string& name, const std::string& start, const std::string& stop) {
    return storeRecord<CPrstAddressPool6>(
        *session, "name = " + name +
                      "\nvalid_lt = 3600\nprefix_len = 64\nrelay = ::\nrangestart = " + start +
                      "\nrangestop = " + stop + "\n");
  }
  // A lease of the address (a /56 prefix when prefix) committed `age`
  // seconds ago for `duration` seconds; its identity.
  std::int32_t lease(const std::string& address, long age, std::uint32_t duration,
                     const std::string& more = "", bool prefix = false) {
    const std::uint32_t iaid = ++m_iaid;
    const std::string text =
        "client_id = 00-01-" + std::to_string(10 + iaid % 80) + "\nrelay = ::\ndomains = 2\n" +
        "iaid = " + std::to_string(iaid) + "\nipaddr = " + address +
        "\nlease_commit = " + std::to_string(nuv::CTimeT::now().get() - age) +
        "\nlease_duration = " + std::to_string(duration) + "\n" +
        (prefix ? "iatype = iapd\nprefix_len = 56\n" : "iatype = iana\n") + more;
    return prefix ? storeRecord<CPrstNetworkBinding6>(*session, text)
                  : storeRecord<CPrstAddressBinding6>(*session, text);
  }
  // The stored leases' addresses, addresses before prefixes, in address order.
  std::vector<std::string> stored() {
    std::vector<std::string> out;
    CPrstTransaction tx(*session);
    for (const char* proto : {"CPrstAddressBinding6", "CPrstNetworkBinding6"}) {
      nuv::CStringMap args;
      args.set("START_IP", "::");
      args.set("STOP_IP", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff");
      for (const auto& o :
           session->selectRaw(proto, "binding.range", args, CPrstSelectOptions().withRows(100))
               .objects)
        out.push_back(dynamic_cast<const CPrstBinding&>(*o).ipAddr().string());
    }
    return out;
  }
  // Another server's change to the stored lease of address, committed;
  // false when there is no such lease.
  bool elsewhere(const std::string& address,
                 const std::function<void(CPrstAddressBinding6&)>& change) {
    auto other = openSession();
    CPrstTransaction tx(*other);
    nuv::CStringMap args;
    args.set("IPADDR", address);
    auto found = other->select<CPrstAddressBinding6>("binding.addr", args);
    if (found.size() != 1) return false;
    change(*found.front());
    found.front()->commit();
    tx.commit();
    return true;
  }
  CReclaimer::Counts run(std::uint32_t selectCount = CReclaimerSettings::kSelectCount) {
    CReclaimerSettings settings;
    settings.leadTime = kLead;
    settings.selectCount = selectCount;
    return reclaimer->run(*session, settings);
  }
  std::string expire(const std::string& address, std::int32_t oid, std::int32_t pool = 0,
                     const char* cls = "address_lease") {
    return std::string("expire ") + cls + " " + address + " " + std::to_string(pool) + " " +
           std::to_string(oid);
  }
  void set(Key key, const std::string& value) {
    database->config().set(CDHCPConfigNames::keyName(key, 6), value);
  }

  // Records read their option sets (a lease's DNS names) with it.
  CDHCPContext definitions{6};
  CPrstDHCP6ObjectAbstractFactory factory{&definitions};
  std::shared_ptr<CRecordingBus> bus = std::make_shared<CRecordingBus>();
  std::shared_ptr<CCountingStats> stats = std::make_shared<CCountingStats>();
  std::unique_ptr<CReclaimer> reclaimer;
  std::unique_ptr<CDHCP6Context> context;
  std::uint32_t m_iaid = 0;
};

TEST_P(CReclaimerTest, OnlyLeasesPastExpiryAndLeadTimeAreReclaimedOnceEach) {
  const std::int32_t lan = pool("lan", "2001:db8:1::10", "2001:db8:1::ff");
  struct Case {
    const char* name;
    const char* address;
    long age;
    std::uint32_t duration;
    const char* more;
    bool prefix;
    bool reclaimed;
  };
  const Case cases[] = {
      {"expired a minute ago", "2001:db8:1::10", 3660, 3600, "source_pool = lan", false, true},
      {"expired inside the lead time", "2001:db8:1::11", 3605, 3600, "", false, false},
      {"active", "2001:db8:1::12", 60, 3600, "", false, false},
      {"released two minutes ago", "2001:db8:1::13", 120, 0, "", false, true},
      {"released just now", "2001:db8:1::14", 0, 0, "", false, false},
      {"fixed, expired long ago", "2001:db8:1::15", 86400, 60, "fixed = true", false, false},
      {"fixed and released", "2001:db8:1::16", 86400, 0, "fixed = true", false, false},
      {"infinite", "2001:db8:1::17", 86400, 0xffffffffu, "", false, false},
      {"expired prefix", "2001:db8:100::", 7200, 3600, "", true, true},
      {"active prefix", "2001:db8:200::", 60, 3600, "", true, false},
  };
  std::vector<std::string> events, kept;
  for (const Case& c : cases) {
    const std::int32_t oid = lease(c.address, c.age, c.duration, c.more, c.prefix);
    if (c.reclaimed)
      events.push_back(expire(c.address, oid, std::string(c.more).empty() ? 0 : lan,
                              c.prefix ? "network_lease" : "address_lease"));
    else
      kept.push_back(c.address);
  }

  const CReclaimer::Counts counts = run();
  EXPECT_EQ(counts.addresses, 2u);
  EXPECT_EQ(counts.prefixes, 1u);
  EXPECT_EQ(stored(), kept);
  // Soonest expired first, addresses before prefixes.
  std::swap(events[0], events[1]);
  EXPECT_EQ(bus->lines(), events);
  EXPECT_EQ(stats->reclaimed, 3);
  EXPECT_TRUE(logged(
      "info: The server has reclaimed 2 expired address leases and 1 expired prefix leases."));

  // Each lease is reclaimed once: the next run finds nothing and says nothing.
  database->controller.logSink.lines.clear();
  const CReclaimer::Counts again = run();
  EXPECT_EQ(again.addresses + again.prefixes, 0u);
  EXPECT_EQ(bus->lines().size(), 3u);
  EXPECT_EQ(stats->reclaimed, 3);
  EXPECT_FALSE(logged("reclaimed"));
}

TEST_P(CReclaimerTest, TheEventNamesTheLeasesClient) {
  lease("2001:db8:1::10", 3660, 3600);
  run();
  const auto events = bus->history();
  ASSERT_EQ(events.size(), 1u);
  const auto& e = dynamic_cast<const CLeaseEvent&>(*events.front());
  EXPECT_TRUE(*e.bindingID ==
              CBinding6Identifier(nuv::CHexStore::parse("00-01-11"), CIAType::iana, 1));
  EXPECT_EQ(e.hostname, "");
  EXPECT_EQ(e.protoFamily(), 6);
}

TEST_P(CReclaimerTest, ALeaseChangedAfterItsSelectionIsLeftAloneAndTheRestGoes) {
  // Another server or a worker thread gets between the selection and the
  // deletion: it renews the lease, or removes it itself.
  struct Case {
    const char* name;
    std::size_t which;  // of the three selected
    bool renew;         // else: removed by someone else
  };
  const Case cases[] = {
      {"first renewed", 0, true},  {"middle renewed", 1, true},  {"last renewed", 2, true},
      {"first removed", 0, false}, {"middle removed", 1, false}, {"last removed", 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> addresses = {"2001:db8:1::10", "2001:db8:1::11",
                                                "2001:db8:1::12"};
    for (std::size_t i = 0; i < addresses.size(); ++i)
      lease(addresses[i], 3700 - 10 * long(i), 3600);

    CReclaimPass pass(*session, "CPrstAddressBinding6");
    const auto selected = pass.select(nuv::CTimeT::now() - kLead, 100);
    ASSERT_EQ(selected.size(), 3u);
    ASSERT_TRUE(elsewhere(addresses[c.which], [&](CPrstAddressBinding6& b) {
      if (c.renew)
        b.leaseCommitTime(nuv::CTimeT::now());
      else
        b.deletePersistent();
    }));
    std::vector<std::string> announced;
    const std::size_t removed = pass.remove(selected, [&](const CReclaimPass::Reclaimed& r) {
      announced.push_back(r.address.string());
    });
    EXPECT_EQ(removed, 2u);
    std::vector<std::string> others = addresses;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(c.which));
    EXPECT_EQ(announced, others);
    EXPECT_EQ(stored(),
              c.renew ? std::vector<std::string>{addresses[c.which]} : std::vector<std::string>{});
    // The renewed lease is active now: nothing more to reclaim.
    EXPECT_EQ(pass.select(nuv::CTimeT::now() - kLead, 100).size(), 0u);
    CPrstTransaction tx(*session);
    for (const auto& b : CPrstAddressBinding6::selectByPool(*session, 0)) {
      b->deletePersistent();
      b->commit();
    }
    tx.commit();
  }
}

TEST_P(CReclaimerTest, ManyLeasesAreRemovedInSeveralTransactionsUpToTheSelectCount) {
  // More than one batch, with a renewed lease in the second one.
  const std::size_t n = CReclaimPass::kBatch + 10;
  for (std::size_t i = 0; i < n; ++i)
    lease((A("2001:db8:1::1000") + i).string(), 4000 - long(i), 3600);
  CReclaimPass pass(*session, "CPrstAddressBinding6");
  const auto selected = pass.select(nuv::CTimeT::now() - kLead, 1000);
  ASSERT_EQ(selected.size(), n);
  ASSERT_TRUE(elsewhere((A("2001:db8:1::1000") + (n - 3)).string(),
                        [](CPrstAddressBinding6& b) { b.leaseDuration(86400); }));
  std::size_t announced = 0;
  EXPECT_EQ(pass.remove(selected, [&](const CReclaimPass::Reclaimed&) { ++announced; }), n - 1);
  EXPECT_EQ(announced, n - 1);
  EXPECT_EQ(stored(), (std::vector<std::string>{(A("2001:db8:1::1000") + (n - 3)).string()}));
}

TEST_P(CReclaimerTest, TheSelectCountBoundsEachKindPerRun) {
  for (long i = 0; i < 3; ++i) {
    lease("2001:db8:1::1" + std::to_string(i), 3700 - i, 3600);
    lease("2001:db8:" + std::to_string(100 + i) + "::", 3700 - i, 3600, "", true);
  }
  struct Step {
    std::size_t addresses, prefixes, left;
  };
  for (const Step& s : {Step{2, 2, 2}, Step{1, 1, 0}, Step{0, 0, 0}}) {
    const CReclaimer::Counts counts = run(2);
    EXPECT_EQ(counts.addresses, s.addresses);
    EXPECT_EQ(counts.prefixes, s.prefixes);
    EXPECT_EQ(stored().size(), s.left);
  }
  // The soonest expired went first.
  const auto lines = bus->lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_NE(lines[0].find(" 2001:db8:1::10 "), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find(" 2001:db8:1::11 "), std::string::npos) << lines[1];
}

TEST_P(CReclaimerTest, AFullPoolsReclaimedAddressIsOfferedAgain) {
  const std::int32_t full = pool("full", "2001:db8:1::10", "2001:db8:1::12");
  lease("2001:db8:1::10", 60, 3600, "source_pool = full");
  lease("2001:db8:1::11", 3660, 3600, "source_pool = full");
  lease("2001:db8:1::12", 60, 3600, "source_pool = full");
  context = std::make_unique<CDHCP6Context>(&database->controller, true);
  context->dhcpMediator().optionFactory();
  context->prstSession(session.get());
  CPoolCandidates candidates;
  CAddrMgr manager(*context, candidates);
  CDHCPStatsStub counters;
  // As Solicit asks, inside the caller's transaction.
  const auto take = [&]() -> std::string {
    CPrstTransaction tx(*session);
    A address;
    long from = 0;
    try {
      manager.getPoolCandidate(CIDHCPAddrMgr::addressPools, {full}, address, from, counters);
    } catch (const CNoAddressAvailException& e) {
      return e.whatText();
    }
    tx.commit();
    return address.string();
  };
  EXPECT_EQ(take(), "No free addresses available.");
  auto reclaiming = openSession();  // the reclaimer's own
  CReclaimerSettings settings;
  EXPECT_EQ(reclaimer->run(*reclaiming, settings).addresses, 1u);
  EXPECT_EQ(take(), "2001:db8:1::11");
}

TEST_P(CReclaimerTest, SettingsHaveDefaultsAndABadValueKeepsItsDefault) {
  struct Case {
    const char *interval, *selectCount, *leadTime;
    std::uint32_t wantInterval, wantSelectCount, wantLeadTime;
    bool recorded;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, 10, 1000, 10, false},
      {"0", "50", "30", 0, 50, 30, false},
      {"5", "0", "0", 5, 1000, 0, false},
      {"soon", "-1", "7", 10, 1000, 7, true},
  };
  for (const Case& c : cases) {
    for (auto [key, value] : {std::pair{Key::reclaimerInterval, c.interval},
                              std::pair{Key::reclaimerSelectCount, c.selectCount},
                              std::pair{Key::reclaimerLeadTime, c.leadTime}}) {
      if (value)
        set(key, value);
      else
        database->config().erase(CDHCPConfigNames::keyName(key, 6));
    }
    const std::uint64_t before = database->controller.exceptionFacade().recordedCount();
    const CReclaimerSettings s = CReclaimerSettings::read(database->controller);
    EXPECT_EQ(s.interval, c.wantInterval);
    EXPECT_EQ(s.selectCount, c.wantSelectCount);
    EXPECT_EQ(s.leadTime, c.wantLeadTime);
    EXPECT_EQ(database->controller.exceptionFacade().recordedCount() > before, c.recorded);
  }
}

TEST_P(CReclaimerTest, TheThreadReclaimsOnItsOwnSessionAndStopsAtOnce) {
  CWatchdog watchdog;
  set(Key::reclaimerInterval, "1");
  set(Key::reclaimerLeadTime, "10");
  const std::int32_t oid = lease("2001:db8:1::10", 3660, 3600);
  lease("2001:db8:1::11", 60, 3600);
  reclaimer->start();
  ASSERT_TRUE(reclaimer->awaitIdle(1, std::chrono::seconds(15)));
  reclaimer->stop();
  EXPECT_EQ(stored(), std::vector<std::string>{"2001:db8:1::11"});
  EXPECT_EQ(bus->lines(), std::vector<std::string>{expire("2001:db8:1::10", oid)});
  EXPECT_EQ(stats->reclaimed, 1);
}

TEST_P(CReclaimerTest, StopWakesAWaitingThread) {
  // A long interval, and runs switched off: stop() does not wait for either.
  for (const char* interval : {"3600", "0"}) {
    SCOPED_TRACE(interval);
    CWatchdog watchdog;
    set(Key::reclaimerInterval, interval);
    CReclaimer waiting(
        database->controller, [this] { return openSession(); }, bus, stats);
    waiting.start();
    ASSERT_TRUE(waiting.awaitIdle(0, std::chrono::seconds(15)));
    waiting.stop();
    EXPECT_FALSE(waiting.awaitIdle(1, std::chrono::seconds(0)));  // it never ran
  }
}

TEST_P(CReclaimerTest, AFailedRunIsRecordedAndTheNextOneStartsAfresh) {
  CWatchdog watchdog;
  set(Key::reclaimerInterval, "1");
  lease("2001:db8:1::10", 3660, 3600);
  std::atomic<int> opened{0};
  CReclaimer failing(
      database->controller,
      [&]() -> std::unique_ptr<CIPrstSession> {
        if (opened++ == 0)
          NUV_THROW("CReclaimerTest", nuv::CMessage("Cannot open a session."),
                    nuv::CMessage("The database is not there yet."));
        return openSession();
      },
      bus, stats);
  failing.start();
  ASSERT_TRUE(failing.awaitIdle(2, std::chrono::seconds(15)));
  failing.stop();
  EXPECT_GE(database->controller.exceptionFacade().recordedCount(), 1u);
  EXPECT_TRUE(logged("Cannot open a session.")) << database->controller.logSink.text();
  EXPECT_EQ(stored(), std::vector<std::string>{});
  EXPECT_EQ(stats->reclaimed, 1);
}

TEST_P(CReclaimerTest, TheDNSRecordsAnExpiredLeaseKeptGoAfterItsRemovalCommitted) {
  CRecordingDDNS ddns;
  ddns.remark = [this](const CDDNSUpdate& u) {
    const auto left = stored();
    return std::find(left.begin(), left.end(), u.addresses.front().string()) == left.end()
               ? std::string()
               : std::string(" (still stored)");
  };
  CReclaimer deleting(
      database->controller, [this] { return openSession(); }, bus, stats,
      std::shared_ptr<CIDHCPDDNS>(std::shared_ptr<CIDHCPDDNS>(), &ddns));
  const std::string server = "option = ddns-lease-server = [2001:db8::53]:53\n";
  const std::string reverse = "option = ddns-lease-reverse-zone = 1.0.0.8.b.d.0.1.0.0.2.ip6.arpa\n";
  lease("2001:db8:1::10", 3700, 3600,
        "option = ddns-lease-name = host1.example.net\noption = ddns-lease-forward-zone = "
        "example.net\noption = ddns-lease-authoritative = true\n" +
            server + reverse);
  lease("2001:db8:1::11", 3690, 3600,
        "option = ddns-lease-name = dyn-2001-db8-1--11.example.org\n"
        "option = ddns-lease-forward-zone = example.org\n" +
            server);
  lease("2001:db8:1::12", 3680, 3600, "option = ddns-lease-name = host3.example.net\n" + reverse);
  // Released (the Release deleted its records and forgot them), without
  // names, still active, a prefix: nothing to delete.
  lease("2001:db8:1::13", 3670, 0);
  lease("2001:db8:1::14", 3660, 3600, "option = dns-servers = 2001:db8::53\n");
  lease("2001:db8:1::15", 60, 3600, "option = ddns-lease-name = host5.example.net\n" + reverse);
  lease("2001:db8:100::", 3700, 3600, "", true);

  // Through a session of its own: the names come from the database.
  const auto reclaiming = openSession();
  CReclaimerSettings settings;
  settings.leadTime = kLead;
  const CReclaimer::Counts counts = deleting.run(*reclaiming, settings);
  EXPECT_EQ(counts.addresses, 5u);
  EXPECT_EQ(
      ddns.taken(),
      (std::vector<std::string>{
          "delete-aaaa host1.example.net zone=example.net ttl=0 server=[2001:db8::53]:53 auth=1 "
          "2001:db8:1::10",
          "delete-ptr host1.example.net zone=1.0.0.8.b.d.0.1.0.0.2.ip6.arpa ttl=0 "
          "server=[2001:db8::53]:53 auth=1 2001:db8:1::10",
          "delete-aaaa dyn-2001-db8-1--11.example.org zone=example.org ttl=0 "
          "server=[2001:db8::53]:53 auth=0 2001:db8:1::11",
          "delete-ptr host3.example.net zone=1.0.0.8.b.d.0.1.0.0.2.ip6.arpa ttl=0 server=:0 "
          "auth=0 2001:db8:1::12"}));
  // Once each.
  EXPECT_EQ(deleting.run(*reclaiming, settings).addresses, 0u);
  EXPECT_TRUE(ddns.taken().empty());
  EXPECT_EQ(stored(), std::vector<std::string>{"2001:db8:1::15"});
}

TEST_P(CReclaimerTest, NamesThatCannotBeReadAreLoggedAndTheLeaseGoesAllTheSame) {
  CRecordingDDNS ddns;
  CReclaimer deleting(
      database->controller, [this] { return openSession(); }, bus, stats,
      std::shared_ptr<CIDHCPDDNS>(std::shared_ptr<CIDHCPDDNS>(), &ddns));
  lease("2001:db8:1::10", 3700, 3600,
        "option = ddns-lease-name = host1.example.net\noption = ddns-lease-reverse-zone = "
        "1.0.0.8.b.d.0.1.0.0.2.ip6.arpa\n");
  // A session whose records have no definitions to read options with.
  CPrstDHCP6ObjectAbstractFactory bare{nullptr};
  const auto reclaiming = database->db().openSession({&bare});
  CReclaimerSettings settings;
  settings.leadTime = kLead;
  EXPECT_EQ(deleting.run(*reclaiming, settings).addresses, 1u);
  EXPECT_TRUE(ddns.taken().empty());
  EXPECT_TRUE(
      logged("error: Cannot read the DNS names of the expired lease of 2001:db8:1::10; "
             "its records stay in the DNS:"))
      << database->controller.logSink.text();
  EXPECT_EQ(stats->reclaimed, 1);
}

NUV_PRST_BACKENDS(CReclaimerTest);
