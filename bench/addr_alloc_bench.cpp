// The cost of one offer as the Solicit processor makes it: in one
// transaction, a free address from the address manager, the offer stored
// under a savepoint (commitUnique), commit. From an address pool (a /64)
// that already holds 0, 10,000 or 100,000 leases, laid out two ways:
//   sequential   the leases fill the start of the range (a server that has
//                handed out addresses in order); the search goes on after
//                the highest one
//   interleaved  every other address of the start of the range is leased
//                and so is the last address of the range: the search wraps
//                to the start and passes a used address before each free one
// SQLite always; PostgreSQL when NUV_TEST_PG names a server, e.g.
//   scripts/with_pg.sh build/bench/addr_alloc_bench
// Each database is filled once and kept for the repetitions; on a busy
// machine take the median of several, run in random order:
//   --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "dhcp6_server/CDHCP6Context.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "dhcp_server_common/CDHCPStatsStub.h"
#include "oodb/CPrstTransaction.h"
#include "plugins/addr_mgr/CAddrMgr.h"
#include "tests/fixtures/CPrstTestDatabase.h"

namespace {

enum Layout { sequential, interleaved };
constexpr int kWarmUp = 2000;

const nuv::CIPAddress kStart("2001:db8:1::"), kStop("2001:db8:1:0:ffff:ffff:ffff:ffff");

// A filled database with one worker thread's session, context and address
// manager on it.
struct CFilled {
  std::unique_ptr<CPrstTestDatabase> database;
  CPrstDHCP6ObjectAbstractFactory factory{nullptr};
  std::unique_ptr<CPrstDBSession> session;
  std::unique_ptr<CDHCP6Context> context;
  CPoolCandidates candidates;
  std::unique_ptr<CAddrMgr> manager;
  long pool = 0;
  std::uint32_t offers = 0;
};

std::map<std::tuple<std::string, Layout, std::int64_t>, std::unique_ptr<CFilled>>& filled() {
  static std::map<std::tuple<std::string, Layout, std::int64_t>, std::unique_ptr<CFilled>> all;
  return all;
}

void lease(CIPrstSession& session, const nuv::CIPAddress& address, std::uint32_t n) {
  auto b = session.createTransient<CPrstAddressBinding6>();
  b->applyBindingID(CBinding6Identifier(nuv::CHexStore::parse("00-01"), CIAType::iana, n));
  b->ipAddr(address);
  b->ipRelay(nuv::CIPAddress("::"));
  b->bootProto("dhcpv6");
  b->leaseCommitTime(nuv::CTimeT::now());
  b->leaseDuration(3600);
  b->commit();
}

// One offer; false when the database refused it as a duplicate.
bool offerOne(CFilled& f, CDHCPStatsStub& stats) {
  CPrstTransaction tx(*f.session);
  nuv::CIPAddress address;
  long from = 0;
  f.manager->getPoolCandidate(0, {f.pool}, address, from, stats);
  auto pending = f.session->createTransient<CPrstAddressPending6>();
  pending->applyBindingID(
      CBinding6Identifier(nuv::CHexStore::parse("00-02"), CIAType::iana, ++f.offers));
  pending->offeredAddress(address);
  pending->relayAddress(nuv::CIPAddress("::"));
  pending->poolOID(static_cast<std::int32_t>(from));
  pending->offerTime(nuv::CTimeT::now());
  if (!pending->commitUnique()) return false;
  tx.commit();
  return true;
}

// The database of the case, filled on first use; null (and the benchmark
// skipped) when it cannot be had.
CFilled* open(benchmark::State& state, const std::string& backend, Layout layout) {
  const std::int64_t leases = state.range(0);
  auto& slot = filled()[{backend, layout, leases}];
  if (slot) return slot.get();
  if (backend == "pgsql" && CPrstTestDatabase::pgConnInfo().empty()) {
    state.SkipWithError("NUV_TEST_PG is not set: run through scripts/with_pg.sh");
    return nullptr;
  }
  auto f = std::make_unique<CFilled>();
  f->database = std::make_unique<CPrstTestDatabase>(backend);
  if (f->database->open() != 0) {
    state.SkipWithError(f->database->controller.logSink.lines.back().c_str());
    return nullptr;
  }
  f->session = f->database->db().openSession({&f->factory});
  f->context = std::make_unique<CDHCP6Context>(&f->database->controller, true);
  f->context->prstSession(f->session.get());
  f->manager = std::make_unique<CAddrMgr>(*f->context, f->candidates);
  CPrstTransaction tx(*f->session);
  auto pool = f->session->createTransient<CPrstAddressPool6>();
  pool->string("name = bench\nvalid_lt = 3600\nprefix_len = 64\nrelay = ::\nrangestart = " +
               kStart.string() + "\nrangestop = " + kStop.string());
  pool->commit();
  f->pool = pool->identity();
  const std::uint64_t stride = layout == interleaved ? 2 : 1;
  for (std::int64_t i = 0; i < leases; ++i)
    lease(*f->session, kStart + static_cast<std::uint64_t>(i) * stride,
          static_cast<std::uint32_t>(i));
  if (layout == interleaved) lease(*f->session, kStop, static_cast<std::uint32_t>(leases));
  tx.commit();
  // The first offers of a connection prepare its statements: not measured.
  CDHCPStatsStub stats;
  for (int i = 0; i < kWarmUp; ++i) offerOne(*f, stats);
  slot = std::move(f);
  return slot.get();
}

void offer(benchmark::State& state, const std::string& backend, Layout layout) {
  CFilled* f = open(state, backend, layout);
  if (!f) return;
  CDHCPStatsStub stats;
  for (auto _ : state) {
    if (!offerOne(*f, stats)) {
      state.SkipWithError("An address was offered twice.");
      return;
    }
  }
  state.counters["offers/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void cases(benchmark::internal::Benchmark* b) {
  b->Arg(0)->Arg(10000)->Arg(100000)->ArgName("leases");
  b->Iterations(2000)->Unit(benchmark::kMicrosecond)->UseRealTime();
}

}  // namespace

BENCHMARK_CAPTURE(offer, sqlite_sequential, std::string("sqlite"), sequential)->Apply(cases);
BENCHMARK_CAPTURE(offer, sqlite_interleaved, std::string("sqlite"), interleaved)->Apply(cases);
BENCHMARK_CAPTURE(offer, pgsql_sequential, std::string("pgsql"), sequential)->Apply(cases);
BENCHMARK_CAPTURE(offer, pgsql_interleaved, std::string("pgsql"), interleaved)->Apply(cases);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  filled().clear();  // sessions and databases go before the plug-ins' libraries
  benchmark::Shutdown();
}
