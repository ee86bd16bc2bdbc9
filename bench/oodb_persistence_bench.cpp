// The per-packet database pattern of a DHCPv6 worker: begin, find a record
// by key, update it, insert a small record and delete it again, commit.
// Twice: on key/value records (the object layer alone), and on the lease
// records as a packet uses them (the client's binding by key and link
// through the "dom" statement with the device's token, extended; an offer
// recorded and deleted). SQLite always; PostgreSQL when NUV_TEST_PG names a
// server, e.g.
//   scripts/with_pg.sh build/bench/oodb_persistence_bench

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "oodb/CExtDomainID.h"
#include "oodb/CPrstKeyValue.h"
#include "tests/fixtures/CPrstTestDatabase.h"

namespace {

constexpr int kRecords = 1000;

// The open database of a backend; null (and the benchmark skipped) when it
// cannot be had.
std::unique_ptr<CPrstTestDatabase> openDatabase(benchmark::State& state,
                                                const std::string& backend) {
  if (backend == "pgsql" && CPrstTestDatabase::pgConnInfo().empty()) {
    state.SkipWithError("NUV_TEST_PG is not set: run through scripts/with_pg.sh");
    return nullptr;
  }
  auto database = std::make_unique<CPrstTestDatabase>(backend);
  if (database->open() != 0) {
    state.SkipWithError(database->controller.logSink.lines.back().c_str());
    return nullptr;
  }
  return database;
}

void report(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations());
  state.counters["packets/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void perPacket(benchmark::State& state, const std::string& backend) {
  auto database = openDatabase(state, backend);
  if (!database) return;
  auto session = database->session();
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
  report(state);
}

CBinding6Identifier key(int client) {
  nuv::CHexStore duid = nuv::CHexStore::parse("00-01-00-01-00-00-00-00");
  duid[6] = static_cast<std::uint8_t>(client >> 8);
  duid[7] = static_cast<std::uint8_t>(client);
  return CBinding6Identifier(duid, CIAType::iana, 1);
}

void leasePacket(benchmark::State& state, const std::string& backend) {
  auto database = openDatabase(state, backend);
  if (!database) return;
  const CPrstDHCP6ObjectAbstractFactory factory;
  auto session = database->db().openSession({&factory});
  const nuv::CIPAddress relay("2001:db8::1"), base("2001:db8:1::");
  std::vector<CBinding6Identifier> keys;
  session->begin();
  for (int i = 0; i < kRecords; ++i) {
    keys.push_back(key(i));
    auto b = session->createTransient<CPrstAddressBinding6>();
    b->applyBindingID(keys.back());
    b->ipAddr(base + static_cast<std::uint64_t>(i));
    b->ipRelay(relay);
    b->bootProto("dhcpv6");
    b->leaseCommitTime(nuv::CTimeT::now());
    b->leaseDuration(3600);
    b->domainMemberships({CExtDomainID::allDevices});
    b->commit();
  }
  session->commit();

  const auto token =
      std::make_shared<CDeviceAccessToken>(CExtDomainID::allDevices, CAccessRights::execute);
  int i = 0;
  for (auto _ : state) {
    const CBinding6Identifier& id = keys[static_cast<std::size_t>(i++ % kRecords)];
    session->begin();
    auto found = CPrstAddressBinding6::selectByKeyAndRelay(*session, token, id, relay);
    found[0]->leaseCommitTime(nuv::CTimeT::now());
    found[0]->leaseDuration(7200);
    found[0]->commit();
    auto offer = session->createTransient<CPrstAddressPending6>();
    offer->applyBindingID(id);
    offer->offeredAddress(found[0]->ipAddr());
    offer->relayAddress(relay);
    offer->offerTime(nuv::CTimeT::now());
    offer->commit();
    offer->deletePersistent();
    offer->commit();
    session->commit();
  }
  report(state);
}

}  // namespace

BENCHMARK_CAPTURE(perPacket, sqlite, std::string("sqlite"))
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(perPacket, pgsql, std::string("pgsql"))
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(leasePacket, sqlite, std::string("sqlite"))
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(leasePacket, pgsql, std::string("pgsql"))
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_MAIN();
