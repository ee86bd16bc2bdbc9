// The per-packet database pattern of a DHCPv6 worker: begin, find a record
// by key, update it, insert a small record and delete it again, commit.
// SQLite always; PostgreSQL when NUV_TEST_PG names a server, e.g.
//   scripts/with_pg.sh build/bench/oodb_persistence_bench

#include <benchmark/benchmark.h>

#include <string>

#include "oodb/CPrstKeyValue.h"
#include "tests/fixtures/CPrstTestDatabase.h"

namespace {

constexpr int kRecords = 1000;

void perPacket(benchmark::State& state, const std::string& backend) {
  if (backend == "pgsql" && CPrstTestDatabase::pgConnInfo().empty()) {
    state.SkipWithError("NUV_TEST_PG is not set: run through scripts/with_pg.sh");
    return;
  }
  CPrstTestDatabase database(backend);
  if (database.open() != 0) {
    state.SkipWithError(database.controller.logSink.lines.back().c_str());
    return;
  }
  auto session = database.session();
  session->begin();
  for (int i = 0; i < kRecords; ++i) {
    auto kv = session->createTransient<CPrstKeyValue>();
    kv->name("key" + std::to_string(i));
    kv->value("0");
    kv->commit();
  }
  session->commit();

  nuv::CStringMap args;
  int i = 0;
  for (auto _ : state) {
    session->begin();
    args.set("NAME", "key" + std::to_string(i++ % kRecords));
    auto found = session->select<CPrstKeyValue>("keyvalue.name", args);
    found[0]->value(std::to_string(i));
    found[0]->commit();
    auto pending = session->createTransient<CPrstKeyValue>();
    pending->name("pending");
    pending->commit();
    pending->deletePersistent();
    pending->commit();
    session->commit();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["packets/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK_CAPTURE(perPacket, sqlite, std::string("sqlite"))
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(perPacket, pgsql, std::string("pgsql"))
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_MAIN();
