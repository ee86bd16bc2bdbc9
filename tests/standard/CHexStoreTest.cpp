#include <gtest/gtest.h>

#include <vector>

#include "standard/CException.h"
#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CException;
using nuv::CHexStore;

namespace {

std::vector<std::uint8_t> bytesOf(const CHexStore& h) {
  return std::vector<std::uint8_t>(h.data(), h.data() + h.size());
}

CHexStore filled(std::size_t n, std::uint8_t first = 0) {
  CHexStore h;
  for (std::size_t i = 0; i < n; ++i) h.push_back(static_cast<std::uint8_t>(first + i));
  return h;
}

}  // namespace

TEST(CHexStoreTest, RendersAndParsesWithSeparators) {
  struct Case {
    const char* text;
    const char* separator;
    std::vector<std::uint8_t> bytes;
    const char* rendered;  // with the same separator
  };
  const Case cases[] = {
      {"00-0A-FF", "-", {0x00, 0x0a, 0xff}, "00-0A-FF"},
      {"00-0a-ff", "-", {0x00, 0x0a, 0xff}, "00-0A-FF"},
      {"000AFF", "", {0x00, 0x0a, 0xff}, "000AFF"},
      {"00:0a:Ff", ":", {0x00, 0x0a, 0xff}, "00:0A:FF"},
      {"de, ad, be, ef", ", ", {0xde, 0xad, 0xbe, 0xef}, "DE, AD, BE, EF"},
      {"7f", "-", {0x7f}, "7F"},
      {"", "-", {}, ""},
      {"", "", {}, ""},
      // The separator's characters are skipped, not checked.
      {"01:02", "-", {0x01, 0x02}, "01-02"},
      // A trailing separator ends the text at the next stride.
      {"01-02-", "-", {0x01, 0x02}, "01-02"},
  };
  for (const Case& c : cases) {
    const CHexStore h = CHexStore::parse(c.text, c.separator);
    EXPECT_EQ(bytesOf(h), c.bytes) << c.text;
    EXPECT_EQ(h.separator(), c.separator);
    EXPECT_EQ(h.string(), c.rendered) << c.text;
    EXPECT_EQ(CHexStore(c.text, c.separator), h);
  }
  CHexStore h = CHexStore::parse("00-0A-FF");
  h.setSeparator("");
  EXPECT_EQ(h.string(), "000AFF");
}

TEST(CHexStoreTest, RejectsNonHexCharacters) {
  struct Case {
    const char* text;
    const char* separator;
    const char* shown;
  };
  // Long enough for a heap buffer, which a failed parse must free (the
  // sanitizer build checks).
  const std::string onHeap = std::string(200, '0') + "zz";
  const Case cases[] = {
      {"0G", "-", "G"}, {"00-x1", "-", "x"},       {"00-0", "-", ""},    {"0", "", ""},
      {"00-", "", "-"}, {" 00", "-", " "},         {"00--01", "-", "-"}, {"0A0", "", ""},
      {"zz", "", "z"},  {onHeap.c_str(), "", "z"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(failureOf([&] { CHexStore::parse(c.text, c.separator); }),
              (Failure{"standard", "CHexStore::_char2Nybble", "Cannot convert character to nybble.",
                       std::string("Invalid hexadecimal character '") + c.shown + "'."}))
        << c.text;
}

TEST(CHexStoreTest, CopiesAndMovesInlineAndHeapStates) {
  for (std::size_t n : {0u, 1u, 63u, 64u, 65u, 300u}) {
    const CHexStore original = filled(n, 7);
    EXPECT_EQ(original.onHeap(), n > CHexStore::kInlineCapacity) << n;

    CHexStore copy(original);
    EXPECT_EQ(copy, original) << n;
    CHexStore moved(std::move(copy));
    EXPECT_EQ(moved, original) << n;
    EXPECT_TRUE(copy.empty());  // NOLINT: moved-from is empty by contract

    // Assignment in every direction between small and large stores.
    for (std::size_t m : {3u, 200u}) {
      CHexStore target = filled(m);
      target = original;
      EXPECT_EQ(target, original) << n << " <- " << m;
      CHexStore target2 = filled(m);
      CHexStore source = original;
      target2 = std::move(source);
      EXPECT_EQ(target2, original) << n << " <- " << m;
      source = filled(5);  // a moved-from store is usable again
      EXPECT_EQ(source.size(), 5u);
    }
    CHexStore self = original;
    self = *&self;
    EXPECT_EQ(self, original);
  }
}

TEST(CHexStoreTest, EditsContent) {
  CHexStore h;
  EXPECT_TRUE(h.empty());
  h.push_back(1);
  h += 2;
  const std::uint8_t more[] = {3, 4, 5};
  h.append(more, 3);
  EXPECT_EQ(h.string(), "01-02-03-04-05");
  h.pop_back();
  h[0] = 0xaa;
  EXPECT_EQ(h.string(), "AA-02-03-04");
  h.resize(6, 0xee);
  EXPECT_EQ(h.string(), "AA-02-03-04-EE-EE");
  h.resize(2);
  EXPECT_EQ(h.string(), "AA-02");
  h.pad(0, 3);
  EXPECT_EQ(h.string(), "AA-02-00-00-00");
  h.set(more, 2);
  EXPECT_EQ(h.string(), "03-04");
  h.set(nullptr, 0);
  EXPECT_TRUE(h.empty());

  // Growing across the inline limit keeps every byte.
  CHexStore big = filled(60);
  big.pad(0xff, 10);
  big.append(big.data(), big.size());  // appending from itself
  ASSERT_EQ(big.size(), 140u);
  EXPECT_EQ(big[59], 59);
  EXPECT_EQ(big[60], 0xff);
  EXPECT_EQ(big[70], 0);
  EXPECT_EQ(big[139], 0xff);

  const CHexStore a = CHexStore::parse("01-02"), b = CHexStore::parse("03");
  EXPECT_EQ((a + b).string(), "01-02-03");
  CHexStore c = a;
  c += c;
  EXPECT_EQ(c.string(), "01-02-01-02");
}

TEST(CHexStoreTest, BoundsAreChecked) {
  CHexStore h = CHexStore::parse("01");
  const Failure f = failureOf([&] { (void)h[1]; });
  EXPECT_EQ(f.what, "Cannot access byte 1.");
  EXPECT_EQ(f.why, "Out of bounds.");
  h.pop_back();
  EXPECT_THROW(h.pop_back(), CException);
  EXPECT_TRUE(h.empty());
}

TEST(CHexStoreTest, TakesAddressBytes) {
  CHexStore h;
  h = nuv::CIPAddress("192.0.2.1");
  EXPECT_EQ(h.string(), "C0-00-02-01");
  h = nuv::CIPAddress("2001:db8::1");
  EXPECT_EQ(h.size(), 16u);
  EXPECT_EQ(h.string(), "20-01-0D-B8-00-00-00-00-00-00-00-00-00-00-00-01");
  h = nuv::CIPAddress();
  EXPECT_TRUE(h.empty());
}

TEST(CHexStoreTest, OrdersByteWiseShorterFirst) {
  const char* ascending[] = {"", "00", "00-00", "00-01", "01", "01-00-00", "FF"};
  for (std::size_t i = 0; i < std::size(ascending); ++i) {
    for (std::size_t j = 0; j < std::size(ascending); ++j) {
      const CHexStore a = CHexStore::parse(ascending[i]), b = CHexStore::parse(ascending[j]);
      EXPECT_EQ(a < b, i < j) << ascending[i] << " < " << ascending[j];
      EXPECT_EQ(a == b, i == j);
      EXPECT_EQ(a >= b, i >= j);
    }
  }
  // The separator is not part of the value.
  EXPECT_EQ(CHexStore::parse("0102", ""), CHexStore::parse("01-02"));
}
