// A datagram as the server reads it: parsed with every relay layer
// unwrapped and checked as a server must, then read the way the handler
// and the processors read a request (identifiers, relay data, IAs, the
// Option Request), and answered along its relay path with the server's
// framing. A datagram either parses or raises nuv::CException; what
// parses must give a reply that a client reads back.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "dhcp_base/CDHCP6OptionCode.h"
#include "dhcp_base/CDHCP6Packet.h"
#include "dhcp_base/CDHCP6Util.h"
#include "dhcp_base/COptionFactory.h"
#include "fuzz/FuzzCatalogue.h"
#include "standard/CException.h"

namespace {

using Code = CDHCP6OptionCode;

const nuv::CIPAddress kSource("fe80::2");
const nuv::CHexStore kServerDUID =
    nuv::CHexStore::parse("00-01-00-01-01-02-03-04-00-AA-BB-CC-DD-EE");

// Reads what the processors read of a parsed request.
void readLikeProcessors(const CDHCP6Packet& request) {
  static_cast<void>(request.string());
  static_cast<void>(request.clientID());
  static_cast<void>(request.circuitID());
  static_cast<void>(request.hostAddress(kSource));
  static_cast<void>(request.linkAddress());
  const COptionPtr& host = request.hostOptions();
  static_cast<void>(CDHCP6Util::requestedServer(host));
  static_cast<void>(CDHCP6Util::clientSuppliedHostname(host));
  for (const CDHCP6Util::IAKey& key : CDHCP6Util::iaKeys(host)) {
    const COptionPtr ia = CDHCP6Util::findIA(key.type, key.iaid, host);
    if (ia) static_cast<void>(CDHCP6Util::iaAddresses(ia));
  }
  // The requested options, answered from the request itself.
  COptionPtr scratch = fuzzCatalogue().factory().createOS("scratch");
  std::vector<std::uint32_t> added;
  CDHCP6Util::addRequestedOptions(CDHCP6Util::findORO(host), nullptr, nullptr, scratch, added);
}

// What the handler puts into every reply: the relay path, the
// transaction-id, the Server Identifier, the client's identifier.
void startReply(const CDHCP6Packet& request, CDHCP6Packet& reply) {
  CDHCP6Util::startReply(request, reply, kServerDUID);
  reply.msgType(CDHCP6MsgType::reply);
  CDHCP6Util::cloneAndStoreOptional(Code::clientID, request.hostOptions(), reply.hostOptions());
}

std::size_t u16(const std::uint8_t* p) {
  return static_cast<std::size_t>(p[0] << 8 | p[1]);
}

[[noreturn]] void fail(const char* what, const std::uint8_t* reply, std::size_t size) {
  std::fprintf(stderr, "%s; the reply:\n", what);
  for (std::size_t i = 0; i < size; ++i) std::fprintf(stderr, "%02x", reply[i]);
  std::fprintf(stderr, "\n");
  std::abort();
}

// The client message inside a serialised reply's Relay-reply layers.
void unwrap(const std::uint8_t*& p, std::size_t& size, std::size_t layers) {
  const std::uint8_t* const reply = p;
  const std::size_t replySize = size;
  for (std::size_t n = 0; n < layers; ++n) {
    if (size < CDHCP6Packet::kRelayHeader || p[0] != CDHCP6MsgType::relay_reply)
      fail("a relay layer is missing", reply, replySize);
    std::size_t at = CDHCP6Packet::kRelayHeader;
    bool found = false;
    while (at + 4 <= size) {
      const std::size_t code = u16(p + at), len = u16(p + at + 2);
      if (at + 4 + len > size) fail("an option of a relay layer overruns it", reply, replySize);
      if (code == Code::relayMsg) {
        // The Relay Message is its layer's last option and reaches the end.
        if (at + 4 + len != size)
          fail("the Relay Message is not its layer's last option", reply, replySize);
        p += at + 4;
        size = len;
        found = true;
        break;
      }
      at += 4 + len;
    }
    if (!found) fail("a relay layer has no Relay Message", reply, replySize);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CDHCP6Packet request(&fuzzCatalogue(), "in");
  static CDHCP6Packet reply(&fuzzCatalogue(), "out");
  static CDHCP6Packet client(&fuzzCatalogue(), "client");
  // The packets are reused from datagram to datagram, as a worker thread
  // reuses its own.
  request.clear();
  try {
    request.serverSetFromRaw(data, size, nuv::CIPAddress());
    readLikeProcessors(request);
  } catch (const nuv::CException&) {
    return 0;
  }
  reply.clear();
  std::size_t length = 0;
  const std::uint8_t* out = nullptr;
  try {
    startReply(request, reply);
    out = reply.rawServerPacket(length);
  } catch (const nuv::CException&) {
    return 0;  // a path too long for 1280 bytes is not answered
  }
  if (length > CDHCP6Packet::kMaxReplySize) fail("the reply is too long", out, length);
  unwrap(out, length, reply.relayCount());
  client.clear();
  client.clientSetFromRaw(out, length, kSource);
  if (client.transactionID() != request.transactionID())
    fail("the reply has another transaction-id", out, length);
  return 0;
}
