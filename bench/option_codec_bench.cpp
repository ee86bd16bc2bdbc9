// Decode and encode rates of a typical Solicit's options (client DUID,
// elapsed time, option request, rapid commit, FQDN, vendor class and an
// IA_NA with a hint address), as the server meets them on every packet.
//   ./build/bench/option_codec_bench

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionLookupFileReader.h"
#include "dhcp_base/COptionOutputContext.h"
#include "dhcp_base/COptionStore.h"

namespace {

std::vector<std::uint8_t> solicitOptions() {
  std::ifstream in(std::string(NUV_SOURCE_DIR) + "/tests/data/option_bytes.txt");
  std::string line, hex;
  while (std::getline(in, line))
    if (line.rfind("solicit_options ", 0) == 0) hex = line.substr(16);
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return out;
}

struct Setup {
  CDHCPContext ctx{6};
  std::vector<std::uint8_t> wire = solicitOptions();
  Setup() {
    COptionLookupFileReader(ctx.optionLookup())
        .execute(std::string(NUV_SOURCE_DIR) + "/data", "options6.spec");
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

// The Solicit's options read into a fresh host option set.
COptionStorePtr decoded(Setup& s) {
  COptionStorePtr store = s.ctx.factory().createOS("bench-host-options", "host-option ");
  COptionInputContext ic(s.wire.data(), store.get());
  store->valueInput(s.wire.data(), s.wire.size(), ic);
  return store;
}

void BM_DecodeSolicitOptions(benchmark::State& state) {
  Setup& s = setup();
  for (auto _ : state) {
    COptionStorePtr store = decoded(s);
    benchmark::DoNotOptimize(store->count());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s.wire.size()));
}
BENCHMARK(BM_DecodeSolicitOptions);

void BM_EncodeSolicitOptions(benchmark::State& state) {
  Setup& s = setup();
  COptionStorePtr store = decoded(s);
  std::uint8_t buf[1280];
  for (auto _ : state) {
    COptionOutputContext oc(store.get(), false);
    std::uint8_t* end = store->valueOutput(buf, sizeof buf, oc);
    benchmark::DoNotOptimize(end);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s.wire.size()));
}
BENCHMARK(BM_EncodeSolicitOptions);

// A reply-sized tree built and released per iteration: the pools at work.
void BM_CloneSolicitOptions(benchmark::State& state) {
  Setup& s = setup();
  COptionStorePtr store = decoded(s);
  for (auto _ : state) {
    COptionStorePtr copy = store->clone(&s.ctx);
    benchmark::DoNotOptimize(copy->count());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CloneSolicitOptions);

}  // namespace

BENCHMARK_MAIN();
