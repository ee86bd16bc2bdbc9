// Names from the wire survive the trip through their text form; the text
// form holds nothing a log line or a value list could trip over.

#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "dhcp_base/CDNSNameIO.h"

using namespace optiontest;

namespace {

class CDNSNameIOTest : public OptionFixture {
 protected:
  void SetUp() override { define("tagpath = 300\nname = x\ntype = dnsname\narrayed = true"); }
  // The option's wire form with the payload's length.
  static std::string option(const std::string& payload) {
    const std::size_t n = payload.size() / 2;
    static const char* digits = "0123456789abcdef";
    std::string header = "012c00";
    header += digits[n >> 4 & 0xf];
    header += digits[n & 0xf];
    return header + payload;
  }
};

}  // namespace

TEST_F(CDNSNameIOTest, WireNamesRoundTripThroughTheirTextForm) {
  struct Case {
    const char* payload;  // hex
    const char* text;
  };
  const Case cases[] = {
      {"03777777076578616d706c6503636f6d00", "www.example.com"},
      {"03612e6200", "a\\.b"},              // a dot inside a label stays one label
      {"02612e00", "a\\."},                 // ... also at the end, where a root dot would be
      {"02615c00", "a\\\\"},                // a backslash
      {"03610a6200", "a\\010b"},            // a newline cannot forge a log line
      {"0320 2c22 00", "\\032\\044\\034"},  // blank, comma, quote: the list still reads back
      {"01ff00", "\\255"},
      {"045f736970012a012f00", "_sip.*./"},  // characters written as they are
      {"0161016200"
       "0361 2c62 00",
       "a.b, a\\044b"},
  };
  for (const Case& c : cases) {
    std::string payload;
    for (const char* p = c.payload; *p; ++p)
      if (*p != ' ') payload += *p;
    SCOPED_TRACE(payload);
    COptionStorePtr read = parse(option(payload));
    const COption::Ptr o = read->find(CTagPath{300});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->string(), c.text);
    EXPECT_EQ(wire(*o), option(payload));
    // The text form read back is the same name.
    COption::Ptr again = make(300);
    again->string(c.text);
    EXPECT_EQ(wire(*again), option(payload));
    EXPECT_EQ(again->string(), c.text);
  }
}

TEST_F(CDNSNameIOTest, TextFormsAreCheckedAndKeptAsTheWireReadsBack) {
  struct Case {
    std::string text;
    std::string kept;  // empty: refused
  };
  const std::string longLabel = std::string(63, 'a');
  const Case cases[] = {
      {"example.com.", "example.com"},
      {"a\\.", "a\\."},        // an escaped final dot is no root dot
      {"\\097\\.b", "a\\.b"},  // one escape or another: one form kept
      {"\\a\\-", "a-"},
      {longLabel + ".b", longLabel + ".b"},
      {std::string(63, 'a') + "a", ""},  // label too long
      {std::string(62, 'a') + "\\046\\046", ""},
      {"a..b", ""},
      {".a", ""},
      {"a\\", ""},     // escape left open
      {"a\\25", ""},   // three digits or none
      {"a\\256", ""},  // not a byte
      {"a b", ""},
      {"a+b", ""},  // written as it is, it would not be the text form
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    COption::Ptr o = make(300);
    if (c.kept.empty()) {
      EXPECT_EQ(failure([&] { o->string(c.text); }),
                "Cannot set domain name '" + c.text + "' for option 300. | Invalid domain name.");
    } else {
      o->string(c.text);
      EXPECT_EQ(o->string(), c.kept);
    }
  }
  // 127 labels of one byte are a 255-byte name; one more is too long.
  std::string name = "a";
  for (int i = 1; i < 127; ++i) name += ".a";
  COption::Ptr o = make(300);
  o->string(name);
  EXPECT_EQ(o->valueArea(), 255u);
  EXPECT_THROW(o->string(name + ".a"), nuv::CException);
}

TEST(CDNSNameIOText, EscapedDotsNeitherEndALabelNorAName) {
  struct Case {
    const char* text;
    std::size_t labelEnd;
    const char* withoutRootDot;
  };
  const Case cases[] = {
      {"host.example.com.", 4, "host.example.com"},
      {"host\\.x.example", 7, "host\\.x.example"},
      {"a\\\\.b.", 3, "a\\\\.b"},  // an escaped backslash, then a dot
      {"a\\.", std::string::npos, "a\\."},
      {"a\\\\.", 3, "a\\\\"},
      {"\\046", std::string::npos, "\\046"},
      {"", std::string::npos, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CDNSNameIO::labelEnd(c.text), c.labelEnd) << c.text;
    EXPECT_EQ(CDNSNameIO::withoutRootDot(c.text), c.withoutRootDot) << c.text;
  }
}
