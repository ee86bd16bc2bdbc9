// Parse and serialise rates of relayed Solicits (one and two Relay-forward
// layers, scapy-made) and of the Advertise answering them through the same
// relay path, as every relayed exchange costs the server.
//   ./build/bench/dhcp6_packet_bench

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_base/CDHCP6Packet.h"
#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionLookupFileReader.h"
#include "dhcp_base/CValueTypeInserter.h"

namespace {

std::vector<std::uint8_t> datagram(const std::string& name) {
  std::ifstream in(std::string(NUV_SOURCE_DIR) + "/tests/data/framing_packets.txt");
  std::string line, hex;
  while (std::getline(in, line))
    if (line.rfind(name + " ", 0) == 0) hex = line.substr(name.size() + 1);
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return out;
}

struct Setup {
  CDHCPContext ctx{6};
  const nuv::CHexStore duid = nuv::CHexStore::parse("00-01-00-01-01-02-03-04-00-AA-BB-CC-DD-EE");
  Setup() {
    COptionLookupFileReader(ctx.optionLookup())
        .execute(std::string(NUV_SOURCE_DIR) + "/data", "options6.spec");
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

// What the handler and the Solicit processor put into the Advertise.
void advertise(Setup& s, const CDHCP6Packet& request, CDHCP6Packet& reply) {
  using Code = CDHCP6OptionCode;
  CDHCP6Util::cloneAndUpdateRelayReturnHeaders(request, reply);
  CDHCP6Util::cloneAndStoreRequired(Code::transactionID, request.hostOptions(),
                                    reply.hostOptions());
  COptionPtr sid;
  CDHCP6Util::createAndStore(Code::serverID, reply.hostOptions(), sid);
  CValueTypeInserter::push_back(s.duid, *sid);
  reply.msgType(CDHCP6MsgType::advertise);
  CDHCP6Util::cloneAndStoreRequired(Code::clientID, request.hostOptions(), reply.hostOptions());
  COptionPtr na = CDHCP6Util::createMinimalIA(CIAType::iana, 0x0a0b0c0d, reply.hostOptions());
  CDHCP6Util::setT1T2(na, 3600);
  CDHCP6Util::addIAADDR(na, nuv::CIPAddress("2001:db8:1::100"), 3600, 7200);
  COptionPtr pd = CDHCP6Util::createMinimalIA(CIAType::iapd, 0x11223344, reply.hostOptions());
  CDHCP6Util::setT1T2(pd, 7200);
  CDHCP6Util::addIAPrefix(pd, nuv::CIPAddress("2001:db8:100::"), 56, 7200, 14400);
}

void BM_ParseRelayedSolicit(benchmark::State& state, const char* name) {
  Setup& s = setup();
  const std::vector<std::uint8_t> d = datagram(name);
  CDHCP6Packet request(&s.ctx, "in");
  const nuv::CIPAddress destination;
  for (auto _ : state) {
    request.serverSetFromRaw(d.data(), d.size(), destination);
    benchmark::DoNotOptimize(request.relayCount());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(d.size()));
}
BENCHMARK_CAPTURE(BM_ParseRelayedSolicit, one_relay, "relay_solicit");
BENCHMARK_CAPTURE(BM_ParseRelayedSolicit, two_relays, "relay2_solicit");

void BM_SerialiseAdvertise(benchmark::State& state, const char* name) {
  Setup& s = setup();
  const std::vector<std::uint8_t> d = datagram(name);
  CDHCP6Packet request(&s.ctx, "in");
  CDHCP6Packet reply(&s.ctx, "out");
  request.serverSetFromRaw(d.data(), d.size(), nuv::CIPAddress());
  advertise(s, request, reply);
  std::size_t size = 0;
  for (auto _ : state) benchmark::DoNotOptimize(reply.rawServerPacket(size));
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
BENCHMARK_CAPTURE(BM_SerialiseAdvertise, one_relay, "relay_solicit");
BENCHMARK_CAPTURE(BM_SerialiseAdvertise, two_relays, "relay2_solicit");

// The whole framing share of an exchange: parse, build the Advertise,
// serialise, clear both packets for the next datagram.
void BM_AnswerRelayedSolicit(benchmark::State& state, const char* name) {
  Setup& s = setup();
  const std::vector<std::uint8_t> d = datagram(name);
  CDHCP6Packet request(&s.ctx, "in");
  CDHCP6Packet reply(&s.ctx, "out");
  std::size_t size = 0;
  for (auto _ : state) {
    request.serverSetFromRaw(d.data(), d.size(), nuv::CIPAddress());
    advertise(s, request, reply);
    benchmark::DoNotOptimize(reply.rawServerPacket(size));
    request.clear();
    reply.clear();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_AnswerRelayedSolicit, one_relay, "relay_solicit");
BENCHMARK_CAPTURE(BM_AnswerRelayedSolicit, two_relays, "relay2_solicit");

}  // namespace

BENCHMARK_MAIN();
