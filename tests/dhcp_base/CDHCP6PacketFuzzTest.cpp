// Hostile datagrams through the server's parser: each parses or raises
// nuv::CException; nothing else escapes and nothing reads out of bounds
// (the sanitizer build checks). What parses is printed, and answered
// through its relay path, like the handler would.

#include <gtest/gtest.h>

#include <random>

#include "PacketFixture.h"

using namespace packettest;

namespace {

class CDHCP6PacketFuzzTest : public PacketFixture {
 protected:
  void feed(const std::vector<std::uint8_t>& in) {
    // An exact-size heap copy, so that any over-read hits the redzone.
    std::unique_ptr<std::uint8_t[]> buf(new std::uint8_t[in.size() + 1]);
    std::copy(in.begin(), in.end(), buf.get());
    try {
      request.serverSetFromRaw(buf.get(), in.size(), nuv::CIPAddress());
      ++parsed;
    } catch (const nuv::CException&) {
      ++refused;
      return;
    }
    static_cast<void>(request.string());
    static_cast<void>(request.clientID());
    static_cast<void>(request.circuitID());
    static_cast<void>(request.hostAddress(kMulticast));
    reply.clear();
    std::vector<std::uint8_t> out;
    try {
      startReply(CDHCP6MsgType::reply);
      out = serialise(reply);
    } catch (const nuv::CException&) {
      ++unanswerable;  // too large for 1280 bytes
      return;
    }
    ASSERT_LE(out.size(), CDHCP6Packet::kMaxReplySize);
    // Down the relay path: each Relay Message is its layer's last option
    // and reaches the end; a client can read the Reply inside.
    std::size_t pos = 0;
    for (std::size_t n = 0; n < reply.relayCount(); ++n) {
      ASSERT_EQ(out[pos], CDHCP6MsgType::relay_reply);
      const std::vector<Tlv> options = tlvs(out, pos + CDHCP6Packet::kRelayHeader, out.size());
      ASSERT_FALSE(options.empty());
      ASSERT_EQ(options.back().code, Code::relayMsg);
      ASSERT_EQ(options.back().offset + 4 + options.back().length, out.size());
      pos = options.back().offset + 4;
    }
    CDHCP6Packet client(&ctx, "client");
    client.clientSetFromRaw(out.data() + pos, out.size() - pos, kMulticast);
    ASSERT_EQ(client.transactionID(), request.transactionID());
    ++answered;
  }

  std::size_t parsed = 0;
  std::size_t refused = 0;
  std::size_t answered = 0;
  std::size_t unanswerable = 0;
};

void put16(std::vector<std::uint8_t>& b, std::size_t v) {
  b.push_back(static_cast<std::uint8_t>(v >> 8));
  b.push_back(static_cast<std::uint8_t>(v));
}

// Option codes that reach the interesting decoders.
const std::uint16_t kCodes[] = {1,  2,  3,  4,  5,  6,  8,  9,  9,  9,
                                13, 14, 18, 19, 23, 25, 26, 37, 39, 65535};

}  // namespace

TEST_F(CDHCP6PacketFuzzTest, RandomDatagrams) {
  std::mt19937 rng(61280);
  for (int round = 0; round < 20000; ++round) {
    std::vector<std::uint8_t> d;
    // Zero to three relay layers around a message of a random type; every
    // layer's options in random order, the lengths sometimes wrong.
    const int relays = static_cast<int>(rng() % 4);
    std::vector<std::size_t> lengthAt;
    for (int r = 0; r < relays; ++r) {
      d.push_back(rng() % 8 ? 12 : 13);
      for (int i = 0; i < 33; ++i) d.push_back(static_cast<std::uint8_t>(rng() % 3 ? 0 : rng()));
      if (rng() % 2) {
        put16(d, 18);
        put16(d, 3);
        d.insert(d.end(), {1, 2, 3});
      }
      put16(d, 9);
      lengthAt.push_back(d.size());
      put16(d, 0);
    }
    d.push_back(static_cast<std::uint8_t>(rng() % 4 ? 1 + rng() % 15 : rng()));
    for (int i = 0; i < 3; ++i) d.push_back(static_cast<std::uint8_t>(rng()));
    // Mostly with the identifiers the server checks for, so that many get
    // past the checks to the decoders and the reply.
    if (rng() % 4) d.insert(d.end(), {0, 1, 0, 4, 0, 3, 0, 1});
    if (rng() % 2) d.insert(d.end(), {0, 2, 0, 2, 0xab, 0xcd});
    const int options = static_cast<int>(rng() % 6);
    for (int i = 0; i < options; ++i) {
      const std::uint16_t code = kCodes[rng() % (sizeof kCodes / sizeof kCodes[0])];
      const std::size_t len = rng() % 40;
      put16(d, code);
      put16(d, rng() % 10 == 0 ? rng() % 100 : len);
      for (std::size_t j = 0; j < len; ++j) d.push_back(static_cast<std::uint8_t>(rng()));
    }
    for (std::size_t at : lengthAt) {
      const std::size_t len = rng() % 10 == 0 ? rng() % 400 : d.size() - at - 2;
      d[at] = static_cast<std::uint8_t>(len >> 8);
      d[at + 1] = static_cast<std::uint8_t>(len);
    }
    if (rng() % 8 == 0) d.resize(rng() % (d.size() + 1));
    feed(d);
  }
  EXPECT_EQ(parsed + refused, 20000u);
  EXPECT_GT(parsed, 1000u);
  EXPECT_GT(refused, 2000u);
  EXPECT_GT(answered, 500u) << parsed << " parsed, " << answered << " answered";
}

TEST_F(CDHCP6PacketFuzzTest, MutatedScapyDatagrams) {
  std::mt19937 rng(8415);
  std::vector<std::vector<std::uint8_t>> seeds;
  for (const auto& entry : scapyBytes("framing_packets.txt")) seeds.push_back(bytes(entry.second));
  ASSERT_FALSE(seeds.empty());
  for (int round = 0; round < 8000; ++round) {
    std::vector<std::uint8_t> d = seeds[rng() % seeds.size()];
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !d.empty(); ++e) {
      const std::size_t at = rng() % d.size();
      switch (rng() % 5) {
        case 0:
          d[at] = static_cast<std::uint8_t>(rng());
          break;
        case 1:
          d[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
          break;
        case 2:
          d.erase(d.begin() + static_cast<std::ptrdiff_t>(at));
          break;
        case 3:
          d.insert(d.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(rng()));
          break;
        default:
          d.resize(at);
          break;
      }
    }
    feed(d);
  }
  EXPECT_EQ(parsed + refused, 8000u);
  EXPECT_GT(parsed, 500u);
  EXPECT_GT(refused, 500u);
}
