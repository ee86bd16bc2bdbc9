#include <gtest/gtest.h>

#include <unordered_set>

#include "standard/CException.h"
#include "standard/CIPAddress.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CIPAddress;

namespace {

CIPAddress ip(const char* text) {
  return CIPAddress(text);
}

}  // namespace

TEST(CIPAddressTest, ParsesAndRendersText) {
  struct Case {
    const char* text;
    CIPAddress::addr_type type;
    const char* canonical;
    const char* fat;
  };
  const Case cases[] = {
      {"2001:db8::1", CIPAddress::ipv6, "2001:db8::1", "2001:0db8:0000:0000:0000:0000:0000:0001"},
      {"2001:DB8:0:0:0:0:0:FF", CIPAddress::ipv6, "2001:db8::ff",
       "2001:0db8:0000:0000:0000:0000:0000:00ff"},
      {"::", CIPAddress::ipv6, "::", "0000:0000:0000:0000:0000:0000:0000:0000"},
      {"::ffff:192.0.2.1", CIPAddress::ipv6, "::ffff:192.0.2.1",
       "0000:0000:0000:0000:0000:ffff:c000:0201"},
      {"192.0.2.1", CIPAddress::ipv4, "192.0.2.1", "192.0.2.1"},
      {"0.0.0.0", CIPAddress::ipv4, "0.0.0.0", "0.0.0.0"},
      {"255.255.255.255", CIPAddress::ipv4, "255.255.255.255", "255.255.255.255"},
  };
  for (const Case& c : cases) {
    const CIPAddress a(c.text);
    EXPECT_EQ(a.type(), c.type) << c.text;
    EXPECT_TRUE(a.isValid());
    EXPECT_EQ(a.raw_len(), c.type == CIPAddress::ipv4 ? 4u : 16u);
    EXPECT_EQ(a.string(), c.canonical);
    EXPECT_EQ(a.fat_string(), c.fat);
    EXPECT_EQ(CIPAddress(a.fat_string()), a) << "fat form parses back";
  }
}

TEST(CIPAddressTest, RejectsMalformedText) {
  const char* bad[] = {"",
                       "1.2.3",
                       "1.2.3.256",
                       "1.2.3.4.5",
                       "2001:db8:::1",
                       "2001:db8::1::2",
                       "12345::",
                       "fe80::1%eth0",
                       " ::1",
                       "::1 ",
                       "g::1",
                       "1.2.3.4/24",
                       "localhost",
                       "::ffff:1.2.3",
                       "1:2:3:4:5:6:7:8:9",
                       "0000:0000:0000:0000:0000:0000:0000:0000:0000:0000"};
  for (const char* text : bad) {
    const auto f = failureOf([&] { CIPAddress a(text); });
    EXPECT_EQ(f.what, std::string("Cannot convert text '") + text + "' to an ip address.") << text;
    EXPECT_EQ(f.why, "Invalid ip address.");
    EXPECT_FALSE(CIPAddress::fromText(text).has_value()) << text;
  }
  EXPECT_EQ(failureOf([] { CIPAddress a(static_cast<const char*>(nullptr)); }).why,
            "Invalid ip address.");
}

TEST(CIPAddressTest, RawAndSystemForms) {
  const std::uint8_t v4[] = {10, 0, 0, 1};
  EXPECT_EQ(CIPAddress(v4, 4), ip("10.0.0.1"));
  const in6_addr loop = in6addr_loopback;
  EXPECT_EQ(CIPAddress(loop), ip("::1"));
  in_addr any{};
  EXPECT_EQ(CIPAddress(any), CIPAddress(CIPAddress::ipv4));
  EXPECT_EQ(CIPAddress(CIPAddress::ipv6).string(), "::");
  EXPECT_FALSE(CIPAddress().isValid());
  EXPECT_EQ(CIPAddress().raw_len(), 0u);
  EXPECT_EQ(CIPAddress().string(), "");
  for (std::size_t len : {0u, 3u, 5u, 15u, 17u}) {
    const auto f = failureOf([&] { CIPAddress a(v4, len); });
    EXPECT_EQ(f.why, "An address has 4 or 16 bytes.") << len;
  }
  const in6_addr mapped = ip("10.0.0.1").toIn6Addr();
  EXPECT_EQ(CIPAddress(mapped), ip("::ffff:10.0.0.1"));
}

TEST(CIPAddressTest, OrdersIPv4BeforeIPv6) {
  const char* ascending[] = {"10.0.0.1", "10.0.0.255", "10.0.1.0",     "255.255.255.255",
                             "::",       "::1",        "2001:db8::ff", "2001:db8::100",
                             "fe80::1",  "ff00::"};
  for (std::size_t i = 0; i < std::size(ascending); ++i)
    for (std::size_t j = 0; j < std::size(ascending); ++j) {
      const CIPAddress a = ip(ascending[i]), b = ip(ascending[j]);
      EXPECT_EQ(a < b, i < j) << ascending[i] << " < " << ascending[j];
      EXPECT_EQ(a > b, i > j) << ascending[i] << " > " << ascending[j];
      EXPECT_EQ(a <= b, i <= j) << ascending[i] << " <= " << ascending[j];
      EXPECT_EQ(a >= b, i >= j) << ascending[i] << " >= " << ascending[j];
      EXPECT_EQ(a == b, i == j) << ascending[i] << " == " << ascending[j];
    }
  EXPECT_FALSE(ip("::1") == ip("0.0.0.1"));
  EXPECT_TRUE(CIPAddress() == CIPAddress());
  EXPECT_TRUE(CIPAddress() <= CIPAddress());
}

TEST(CIPAddressTest, UnsetAddressesNeitherOrderNorCalculate) {
  CIPAddress unset;
  const CIPAddress v6 = ip("::1");
  const std::function<void()> orderings[] = {
      [&] { (void)(unset > v6); },  [&] { (void)(v6 > unset); },  [&] { (void)(unset < v6); },
      [&] { (void)(v6 <= unset); }, [&] { (void)(unset >= v6); },
  };
  for (const auto& op : orderings)
    EXPECT_EQ(failureOf(op), (Failure{"standard", "CIPAddress::operator>", "Illegal operation.",
                                      "Cannot compare ip addresses of unknown type."}));
  const std::function<void()> calculations[] = {
      [&] { unset += 1; },         [&] { unset -= 1; },   [&] { ++unset; },
      [&] { unset.shiftLeft(1); }, [&] { (void)~unset; }, [&] { (void)(unset & ip("::")); },
  };
  for (const auto& op : calculations) {
    const auto f = failureOf(op);
    EXPECT_EQ(f.what, "Illegal operation.");
    EXPECT_EQ(f.why, "Cannot calculate with an ip address of unknown type.");
  }
  // An unset right operand is the number zero.
  EXPECT_EQ(ip("::1") + CIPAddress(), ip("::1"));
}

TEST(CIPAddressTest, ArithmeticCarriesOnOwnWidth) {
  struct Case {
    const char* a;
    char op;
    std::uint64_t n;
    const char* expected;
  };
  const Case cases[] = {
      {"2001:db8::ff", '+', 1, "2001:db8::100"},
      {"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", '+', 1, "::"},
      {"::", '-', 1, "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"},
      {"2001:db8::100", '-', 1, "2001:db8::ff"},
      {"2001:db8::ffff:ffff:ffff:ffff", '+', 1, "2001:db8:0:1::"},
      {"2001:db8::", '+', 0xffffffffffffffffull, "2001:db8::ffff:ffff:ffff:ffff"},
      {"2001:db8:0:1::", '-', 0xffffffffffffffffull, "2001:db8::1"},
      {"10.0.0.255", '+', 1, "10.0.1.0"},
      {"10.255.255.255", '+', 1, "11.0.0.0"},
      {"255.255.255.255", '+', 1, "0.0.0.0"},
      {"0.0.0.0", '-', 1, "255.255.255.255"},
      {"10.0.1.0", '-', 1, "10.0.0.255"},
      {"10.0.0.0", '+', 0x100000001ull, "10.0.0.1"},  // cut to 32 bits
      {"10.0.0.0", '+', 65536, "10.1.0.0"},
  };
  for (const Case& c : cases) {
    const CIPAddress a = ip(c.a);
    const CIPAddress r = c.op == '+' ? a + c.n : a - c.n;
    EXPECT_EQ(r.string(), c.expected) << c.a << ' ' << c.op << ' ' << c.n;
    EXPECT_EQ(r.type(), a.type());
    // The same through the address operand.
    CIPAddress byAddr = a;
    std::uint8_t be[16] = {};
    for (int i = 0; i < 8; ++i) be[15 - i] = static_cast<std::uint8_t>(c.n >> (8 * i));
    if (c.op == '+')
      byAddr += CIPAddress(be, 16);
    else
      byAddr -= CIPAddress(be, 16);
    EXPECT_EQ(byAddr, r) << c.a;
  }
}

TEST(CIPAddressTest, PostfixAndMixedOperands) {
  CIPAddress a = ip("2001:db8::ff");
  EXPECT_EQ((a++).string(), "2001:db8::ff");
  EXPECT_EQ((a--).string(), "2001:db8::100");
  EXPECT_EQ(a.string(), "2001:db8::ff");
  // An IPv4 operand counts as a 32-bit number; the result stays IPv6.
  EXPECT_EQ(ip("2001:db8::") + ip("0.0.1.0"), ip("2001:db8::100"));
  // An IPv6 operand on an IPv4 address contributes its low 32 bits.
  EXPECT_EQ(ip("10.0.0.0") + ip("2001:db8::5"), ip("10.0.0.5"));
}

TEST(CIPAddressTest, ShiftsAndBitwise) {
  struct Case {
    const char* a;
    bool left;
    unsigned n;
    const char* expected;
  };
  const Case cases[] = {
      {"::1", true, 1, "::2"},
      {"::1", true, 127, "8000::"},
      {"::1", true, 128, "::"},
      {"::1", true, 1000, "::"},
      {"::ff", true, 4, "::ff0"},
      {"1::ff", true, 12, "1000::f:f000"},
      {"8000::", false, 127, "::1"},
      {"ffff::", false, 20, "0:fff:f000::"},
      {"1.2.3.4", true, 8, "2.3.4.0"},
      {"1.2.3.4", false, 8, "0.1.2.3"},
      {"128.0.0.0", false, 31, "0.0.0.1"},
      {"255.255.255.255", false, 32, "0.0.0.0"},
      {"192.168.1.1", true, 0, "192.168.1.1"},
  };
  for (const Case& c : cases) {
    CIPAddress a = ip(c.a);
    (c.left ? a.shiftLeft(c.n) : a.shiftRight(c.n));
    EXPECT_EQ(a.string(), c.expected) << c.a << (c.left ? " << " : " >> ") << c.n;
  }
  EXPECT_EQ(ip("192.168.17.5") & ip("255.255.240.0"), ip("192.168.16.0"));
  EXPECT_EQ(ip("192.168.16.0") | ip("0.0.0.7"), ip("192.168.16.7"));
  EXPECT_EQ(ip("2001:db8::ff") ^ ip("::f0"), ip("2001:db8::f"));
  EXPECT_EQ(~ip("255.255.255.0"), ip("0.0.0.255"));
  EXPECT_EQ(~ip("ffff:ffff:ffff:ffff::"), ip("::ffff:ffff:ffff:ffff"));
}

TEST(CIPAddressTest, Prefixes) {
  EXPECT_EQ(ip("2001:db8:1:2:3:4:5:6").createPrefix(64).string(), "2001:db8:1:2::");
  EXPECT_EQ(ip("2001:db8:1:2:3:4:5:6").createPrefix(128), ip("2001:db8:1:2:3:4:5:6"));
  EXPECT_EQ(ip("2001:db8:1:2:3:4:5:6").createPrefix(0), ip("::"));
  EXPECT_EQ(ip("2001:db8:1:2:3:4:5:6").createPrefix(33).string(), "2001:db8::");
  EXPECT_EQ(ip("192.168.17.5").createPrefix(20), ip("192.168.16.0"));
  const std::pair<const char*, unsigned> tooLong[] = {{"2001:db8::1", 129}, {"10.0.0.1", 33}};
  for (const auto& [text, len] : tooLong) {
    const auto f = failureOf([&] { ip(text).createPrefix(len); });
    EXPECT_EQ(f.what, "Cannot create prefix from ip address.");
    EXPECT_EQ(f.why, "Address contains less than " + std::to_string(len) + " bits.");
  }

  const std::pair<const char*, unsigned> masks[] = {
      {"255.255.255.0", 24},
      {"255.255.240.0", 20},
      {"0.0.0.0", 0},
      {"255.255.255.255", 32},
      {"ffff:ffff:ffff:ffff::", 64},
      {"ffff:ffff:ffff:fffe::", 63},
      {"::", 0},
      {"ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", 128}};
  for (const auto& [text, len] : masks)
    EXPECT_EQ(CIPAddress::prefixLenFromMask(ip(text)), len) << text;
  for (const char* text : {"255.0.255.0", "255.255.253.0", "0.0.0.1", "ffff::1"}) {
    const auto f = failureOf([&] { CIPAddress::prefixLenFromMask(ip(text)); });
    EXPECT_EQ(f.why, "Mask bits are not contiguous.") << text;
  }
}

TEST(CIPAddressTest, Predicates) {
  struct Case {
    const char* text;
    bool linkLocal, siteLocal, loopBack, mapped;
    CIPAddress::addr_class cls;
    CIPAddress::addr_scope scope;
  };
  using A = CIPAddress;
  const Case cases[] = {
      {"fe80::1", true, false, false, false, A::class_v6, A::scope_link},
      {"febf:ffff::1", true, false, false, false, A::class_v6, A::scope_link},
      {"fec0::1", false, true, false, false, A::class_v6, A::scope_site},
      {"::1", false, false, true, false, A::class_v6, A::scope_interface},
      {"::", false, false, false, false, A::class_v6, A::scope_none},
      {"2001:db8::1", false, false, false, false, A::class_v6, A::scope_global},
      {"ff02::1:2", false, false, false, false, A::class_d, A::scope_link},
      {"ff05::1:3", false, false, false, false, A::class_d, A::scope_site},
      {"::ffff:10.1.2.3", false, false, false, true, A::class_a, A::scope_site},
      {"169.254.3.4", true, false, false, false, A::class_b, A::scope_link},
      {"127.0.0.1", false, false, true, false, A::class_a, A::scope_interface},
      {"172.16.0.1", false, true, false, false, A::class_b, A::scope_site},
      {"172.32.0.1", false, false, false, false, A::class_b, A::scope_global},
      {"192.168.1.1", false, true, false, false, A::class_c, A::scope_site},
      {"224.0.0.5", false, false, false, false, A::class_d, A::scope_link},
      {"239.1.1.1", false, false, false, false, A::class_d, A::scope_organization},
      {"240.0.0.1", false, false, false, false, A::class_e, A::scope_global},
      {"0.0.0.0", false, false, false, false, A::class_a, A::scope_none},
  };
  for (const Case& c : cases) {
    const CIPAddress a(c.text);
    EXPECT_EQ(a.isLinkLocal(), c.linkLocal) << c.text;
    EXPECT_EQ(a.isSiteLocal(), c.siteLocal) << c.text;
    EXPECT_EQ(a.isLoopBack(), c.loopBack) << c.text;
    EXPECT_EQ(a.isMappedIPv4(), c.mapped) << c.text;
    EXPECT_EQ(a.addrClass(), c.cls) << c.text;
    EXPECT_EQ(a.addrScope(), c.scope) << c.text;
  }
  const CIPAddress unset;
  EXPECT_FALSE(unset.isLinkLocal() || unset.isSiteLocal() || unset.isLoopBack() ||
               unset.isMappedIPv4());
  EXPECT_EQ(unset.addrClass(), A::class_none);
  EXPECT_EQ(unset.addrScope(), A::scope_none);
}

TEST(CIPAddressTest, MapsBetweenFamilies) {
  EXPECT_EQ(ip("192.0.2.1").mapTo(CIPAddress::ipv6), ip("::ffff:192.0.2.1"));
  EXPECT_EQ(ip("::ffff:192.0.2.1").mapTo(CIPAddress::ipv4), ip("192.0.2.1"));
  EXPECT_EQ(ip("2001:db8::1").mapTo(CIPAddress::ipv6), ip("2001:db8::1"));
  EXPECT_EQ(ip("10.0.0.1").mapTo(CIPAddress::ipv4), ip("10.0.0.1"));
  const auto f = failureOf([] { ip("2001:db8::1").mapTo(CIPAddress::ipv4); });
  EXPECT_EQ(f.what, "Cannot map ip address '2001:db8::1' to ipv4.");
  EXPECT_EQ(f.why, "Address is not an ipv4-mapped ipv6 address.");
  EXPECT_EQ(failureOf([] { CIPAddress().mapTo(CIPAddress::ipv6); }).why,
            "Both types must be 4 or 6.");
  EXPECT_EQ(failureOf([] { ip("::1").mapTo(CIPAddress::none); }).why, "Both types must be 4 or 6.");
}

TEST(CIPAddressTest, AnyAndLoopbackKeepTheFamily) {
  CIPAddress a = ip("10.1.2.3"), unset;
  a.setLoopback();
  unset.set_inaddr_any();
  EXPECT_EQ(a, ip("127.0.0.1"));
  EXPECT_EQ(unset, ip("::"));
}

TEST(CIPAddressTest, HashesByTypeAndBytes) {
  std::unordered_set<CIPAddress> set{ip("::1"), ip("::1"), ip("0.0.0.1"), ip("::ffff:0.0.0.1"),
                                     CIPAddress()};
  EXPECT_EQ(set.size(), 4u);
  EXPECT_EQ(set.count(ip("0:0::1")), 1u);
}
