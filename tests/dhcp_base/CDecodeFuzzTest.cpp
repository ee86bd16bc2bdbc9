// Hostile bytes through the container decoder: every buffer either decodes
// or raises nuv::CException; nothing else escapes and nothing reads out of
// bounds (the sanitizer build checks). What decodes must encode again.

#include <gtest/gtest.h>

#include <random>

#include "OptionFixture.h"

using namespace optiontest;

namespace {
class CDecodeFuzzTest : public OptionFixture {
 protected:
  void SetUp() override { loadCatalogue(); }

  // Decodes (and re-encodes) one buffer; counts the outcomes.
  void feed(const std::vector<std::uint8_t>& in) {
    // An exact-size heap copy, so that any over-read hits the redzone.
    std::unique_ptr<std::uint8_t[]> buf(new std::uint8_t[in.size() + 1]);
    std::copy(in.begin(), in.end(), buf.get());
    COptionStorePtr store = ctx.factory().createOS("fuzz");
    try {
      COptionInputContext ic(buf.get(), store.get());
      store->valueInput(buf.get(), in.size(), ic);
      ++decoded;
    } catch (const nuv::CException&) {
      ++refused;
      return;
    }
    std::vector<std::uint8_t> out(in.size() * 4 + 64);
    COptionOutputContext oc;
    store->valueOutput(out.data(), out.size(), oc);
    static_cast<void>(store->string());
    static_cast<void>(store->json());
  }

  std::size_t decoded = 0;
  std::size_t refused = 0;
};

// Codes the catalogue knows, so that random options often reach the codecs.
const std::uint16_t kCodes[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  11, 12, 13, 14, 15, 16, 17,
                                18, 19, 20, 21, 23, 24, 25, 26, 37, 39, 56, 60, 67, 79, 82, 65535};
}  // namespace

TEST_F(CDecodeFuzzTest, RandomOptionSequences) {
  std::mt19937 rng(20261206);
  for (int round = 0; round < 4000; ++round) {
    std::vector<std::uint8_t> buf;
    const int options = static_cast<int>(rng() % 6);
    for (int i = 0; i < options; ++i) {
      const std::uint16_t code = kCodes[rng() % (sizeof kCodes / sizeof kCodes[0])];
      std::size_t len = rng() % 48;
      std::size_t claimed = rng() % 8 == 0 ? rng() % 200 : len;  // sometimes lie about the length
      buf.push_back(static_cast<std::uint8_t>(code >> 8));
      buf.push_back(static_cast<std::uint8_t>(code));
      buf.push_back(static_cast<std::uint8_t>(claimed >> 8));
      buf.push_back(static_cast<std::uint8_t>(claimed));
      for (std::size_t j = 0; j < len; ++j) buf.push_back(static_cast<std::uint8_t>(rng()));
    }
    if (rng() % 4 == 0 && !buf.empty()) buf.resize(rng() % buf.size());
    feed(buf);
  }
  EXPECT_EQ(decoded + refused, 4000u);
  EXPECT_GT(decoded, 100u);
  EXPECT_GT(refused, 100u);
}

TEST_F(CDecodeFuzzTest, MutatedRealOptions) {
  std::mt19937 rng(8415);
  std::vector<std::vector<std::uint8_t>> seeds;
  for (const auto& entry : scapyBytes()) seeds.push_back(bytes(entry.second));
  ASSERT_FALSE(seeds.empty());
  for (int round = 0; round < 6000; ++round) {
    std::vector<std::uint8_t> buf = seeds[rng() % seeds.size()];
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !buf.empty(); ++e) {
      const std::size_t at = rng() % buf.size();
      switch (rng() % 4) {
        case 0:
          buf[at] = static_cast<std::uint8_t>(rng());
          break;
        case 1:
          buf[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
          break;
        case 2:
          buf.erase(buf.begin() + static_cast<std::ptrdiff_t>(at));
          break;
        default:
          buf.insert(buf.begin() + static_cast<std::ptrdiff_t>(at),
                     static_cast<std::uint8_t>(rng()));
      }
    }
    feed(buf);
  }
  EXPECT_EQ(decoded + refused, 6000u);
}
