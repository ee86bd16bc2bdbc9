// Information-requests answered per second by one worker thread: receive,
// parse, one SQLite transaction (global policies merged), reply built and
// sent, over a loopback socket pair. Run by hand:
//   ./build/bench/info_request_bench
// (binds two ephemeral ports on ::1; nothing leaves the machine).

#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "dhcp6_server/CDHCP6Handler.h"
#include "dhcp6_server/CDHCP6TLS.h"
#include "dhcp_database/CPolicyRecord.h"
#include "oodb/CPrstTransaction.h"
#include "tests/fixtures/CInlineTask.h"
#include "tests/fixtures/CRecordingController.h"

namespace {

// Logs nothing: a production server logs neither packets nor debug lines.
class CQuietLog : public CLogSink {
 public:
  void log(unsigned, const nuv::CMessage&, int) override {}
  bool verboseEnabled() const override { return false; }
  bool debugEnabled() const override { return false; }
};

class CQuietController : public CRecordingController {
 public:
  std::string varDir() const override { return dir; }
  CLogSink& log() override { return m_quiet; }
  CLogSink** dhcpLog() override { return &m_quietPtr; }
  std::string dir;

 private:
  CQuietLog m_quiet;
  CLogSink* m_quietPtr = &m_quiet;
};

// Information-request with a Client Identifier, Elapsed Time and an Option
// Request for DNS servers (23) and the domain search list (24).
const std::string kRequest(
    "\x0b\x12\x34\x56"
    "\x00\x01\x00\x0a\x00\x03\x00\x01\x02\x00\x00\x00\x00\x02"
    "\x00\x08\x00\x02\x00\x00"
    "\x00\x06\x00\x04\x00\x17\x00\x18",
    32);

void BM_InformationRequest(benchmark::State& state) {
  CQuietController host;
  char tmpl[] = "/tmp/nuv_bench_XXXXXX";
  host.dir = mkdtemp(tmpl);
  host.plugins().loadPlugin(std::string(NUV_PLUGIN_DIR) + "/sqlite_db.so");
  host.plugins().openPlugins();
  CInlineTask task;
  CTLSPool<CDHCP6TLS> pool(1);
  auto tls = std::make_unique<CDHCP6TLS>(&task, 0, &host, nullptr);
  tls->init();
  tls->mode(CSystemMode::servicing);
  pool.insert(0, tls.get());
  {
    CPrstTransaction tx(tls->prstSession());
    auto global = CPolicyRecord::fastSelectRec(tls->prstSession(), "Global Optional");
    global.front()->string(
        "option = dns-servers = 2001:db8::53, 2001:db8::54\n"
        "option = domain-search = example.com, example.org");
    global.front()->commit();
    tx.commit();
  }
  tls->startTransaction();
  tls->policyFinder().resetGlobalPolicies();
  tls->commitTransaction();

  CDHCP6Handler handler(&host, &task, pool);
  nuv::CSockDgramMcast server, client;
  server.open(nuv::CEndpoint("[::1]:0"));
  client.open(nuv::CEndpoint("[::1]:0"));
  sockaddr_in6 sa{};
  socklen_t len = sizeof sa;
  getsockname(server.get_handle(), reinterpret_cast<sockaddr*>(&sa), &len);
  const nuv::CEndpoint to(sa);
  char reply[2048];
  nuv::CEndpoint from;
  std::size_t answered = 0;
  for (auto _ : state) {
    client.send_blocked(kRequest.data(), kRequest.size(), to);
    handler.udp_input(server);
    if (client.recvFrom(reply, sizeof reply, from, 0) > 0) ++answered;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(answered));
  pool.remove(0);
  tls->close();
  tls.reset();
  host.plugins().shutdownPlugins();
  std::error_code ec;
  std::filesystem::remove_all(host.dir, ec);
}
BENCHMARK(BM_InformationRequest)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
