#include <gtest/gtest.h>

#include <functional>

#include "standard/CException.h"
#include "standard/CVariant.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CEndpoint;
using nuv::CException;
using nuv::CHexStore;
using nuv::CIPAddress;
using nuv::CTimeT;
using nuv::CVariant;
using VT = nuv::CVariantType;
using VST = nuv::CVariantSubType;

namespace {

// failureOf, with a what-text of "no throw" when nothing is thrown.
template <class F>
Failure failure(F&& op) {
  Failure f = failureOf(op);
  if (f.module == "<none>") f.what = "no throw";
  return f;
}

CVariant ip(const char* text) {
  return CVariant(CIPAddress(text));
}
CVariant hex(const char* text) {
  return CVariant(CHexStore::parse(text));
}
CVariant endpoint(const char* text) {
  return CVariant(CEndpoint(text));
}

// One sample per type, indexed by type value.
std::vector<CVariant> samples() {
  return {CVariant(),     ip("192.0.2.1"), CVariant(true), CVariant(CTimeT(1700000000)),
          CVariant("10"), hex("01-02"),    CVariant(-1),   endpoint("[2001:db8::1]:547"),
          CVariant(5u)};
}

}  // namespace

TEST(CVariantTypeTest, RangeSubtypeAndAddressFamily) {
  Failure f = failure([] { VT().set(9); });
  EXPECT_EQ(f.what, "Cannot set variant data type from value 9.");
  EXPECT_EQ(f.why, "Illegal value.");
  EXPECT_EQ(f.context, "CVariantType::_checkValidity");
  EXPECT_EQ(VST::toAddrType(VST::dst_ipv4), CIPAddress::ipv4);
  EXPECT_EQ(VST::toAddrType(VST::dst_ipv6), CIPAddress::ipv6);
  EXPECT_EQ(VST::fromAddrType(CIPAddress::ipv4), VST::dst_ipv4);
  for (auto s : {VST::dst_general, VST::dst_function_name, VST::dst_reserved_word}) {
    f = failure([s] { VST::toAddrType(s); });
    EXPECT_EQ(f.what, "Cannot determine ip address type from variant subtype.");
    EXPECT_EQ(f.why, "Variant subtype does not map to an ip address type.");
  }
  f = failure([] { VST::fromAddrType(CIPAddress::none); });
  EXPECT_EQ(f.what, "Cannot determine variant subtype from ip address type.");
  EXPECT_EQ(f.why, "Unknown ip address type.");
  // The same check guards a variant built from an unset address.
  f = failure([] { CVariant v{CIPAddress()}; });
  EXPECT_EQ(f.why, "Unknown ip address type.");
  EXPECT_EQ(ip("192.0.2.1").subtype(), VST::dst_ipv4);
  EXPECT_EQ(ip("::1").subtype(), VST::dst_ipv6);
}

// Every cell of the matrix. "!" = not convertible, "?why" = convertible in
// general but not this value, else the result's text. The ip-address column
// asks for ipv6, so that numbers have a family.
TEST(CVariantTest, ConversionMatrix) {
  const std::vector<CVariant> from = samples();
  const char* const T = "Thu Jan  1 00:00:";
  const std::vector<std::vector<std::string>> expected = {
      {"", "!", "false", "!", "", "!", "!", "!", "!"},
      {"!", "::ffff:192.0.2.1", "true", "!", "192.0.2.1", "C0-00-02-01", "3221225985",
       "192.0.2.1:0", "3221225985"},
      {"!", "!", "true", "!", "true", "01", "1", "!", "1"},
      {"!", "!", "true", "Tue Nov 14 22:13:20 2023", "Tue Nov 14 22:13:20 2023",
       "00-00-00-00-65-53-F1-00", "1700000000", "!", "1700000000"},
      {"!", "?Value is not an ip address.", "true", std::string(T) + "10 1970", "10", "10", "10",
       "?Value is not an endpoint.", "10"},
      {"!", "?Value is not an ip address.", "true", "Thu Jan  1 00:04:18 1970", "01-02", "01-02",
       "258", "!", "258"},
      {"!", "::ffff:ffff:ffff:ffff", "false", "Wed Dec 31 23:59:59 1969", "-1",
       "FF-FF-FF-FF-FF-FF-FF-FF", "-1", "!", "18446744073709551615"},
      {"!", "2001:db8::1", "!", "!", "[2001:db8::1]:547", "!", "!", "[2001:db8::1]:547", "!"},
      {"!", "::5", "true", std::string(T) + "05 1970", "5", "00-00-00-00-00-00-00-05", "5", "!",
       "5"},
  };
  for (unsigned f = 0; f <= VT::kLast; ++f) {
    for (unsigned t = 0; t <= VT::kLast; ++t) {
      const std::string& want = expected[f][t];
      const auto to = static_cast<VT::data_type>(t);
      const auto sub = to == VT::dt_ipaddress ? VST::dst_ipv6 : VST::dst_general;
      const std::string where = std::string(VT::string(f)) + " -> " + VT::string(t);
      CVariant v = from[f];
      const Failure fail = failure([&] { v.convertTo(to, sub); });
      if (want == "!") {
        EXPECT_EQ(fail.what, std::string("Cannot convert from type '") + VT::string(f) + "' to '" +
                                 VT::string(t) + "'.")
            << where;
        EXPECT_EQ(fail.why, "Invalid conversion.") << where;
      } else if (want[0] == '?') {
        EXPECT_EQ(fail.what, "Cannot convert variant value '" + from[f].string() + "' to type '" +
                                 VT::string(t) + "'.")
            << where;
        EXPECT_EQ(fail.why, want.substr(1)) << where;
      } else {
        EXPECT_EQ(fail.what, "no throw") << where << ": " << fail.why;
        EXPECT_EQ(v.type(), to) << where;
        EXPECT_EQ(v.string(), want) << where;
      }
    }
  }
}

TEST(CVariantTest, ToBooleanRules) {
  const std::pair<CVariant, bool> cases[] = {
      {CVariant(-1), false},      {CVariant(0), false},           {CVariant(1), true},
      {CVariant(1u), true},       {CVariant(0u), false},          {CVariant(""), false},
      {CVariant("FaLsE"), false}, {CVariant("0"), true},          {CVariant("no"), true},
      {hex("00"), true},          {CVariant(CHexStore()), false}, {ip("0.0.0.0"), false},
      {ip("::1"), true},          {CVariant(CTimeT(0)), false},   {CVariant(), false},
  };
  for (const auto& [v, want] : cases) {
    EXPECT_EQ(v.boolean(), want) << v.string();
    EXPECT_EQ(static_cast<bool>(v), want) << v.string();
    EXPECT_EQ(!v, !want) << v.string();
  }
}

TEST(CVariantTest, StringToIntegerFollowsScanfRules) {
  const std::tuple<const char*, std::int64_t, std::uint64_t> cases[] = {
      {"42", 42, 42},
      {"0x1f", 31, 31},
      {"017", 15, 15},
      {"  -7", -7, static_cast<std::uint64_t>(-7)},     // %llu takes a sign too
      {"12abc", 12, 12},                                // trailing text is ignored
      {"99999999999999999999", INT64_MAX, UINT64_MAX},  // clamped
  };
  for (const auto& [text, i, u] : cases) {
    EXPECT_EQ(CVariant(text).integer(), i) << text;
    EXPECT_EQ(CVariant(text).uinteger(), u) << text;
  }
  for (const char* text : {"", "abc", "  ", "x12"}) {
    for (auto to : {VT::dt_integer, VT::dt_uinteger}) {
      CVariant v(text);
      const Failure f = failure([&] { v.convertTo(to); });
      EXPECT_EQ(f.what, std::string("Cannot convert variant value '") + text + "' to type '" +
                            VT::string(to) + "'.");
      EXPECT_EQ(f.why, "Value is not an integer.");
    }
  }
}

TEST(CVariantTest, ByteSequenceAndAddressToInteger) {
  EXPECT_EQ(hex("FF-FF-FF-FF-FF-FF-FF-FF").integer(), -1);
  EXPECT_EQ(hex("01-00-00-00-00-00-00-00").uinteger(), 1ull << 56);
  EXPECT_EQ(CVariant(CHexStore()).integer(), 0);
  Failure f = failure([] { hex("01-02-03-04-05-06-07-08-09").integer(); });
  EXPECT_EQ(f.what, "Cannot convert byte sequence '01-02-03-04-05-06-07-08-09' to an integer.");
  EXPECT_EQ(f.why, "Integer overflow.");
  EXPECT_EQ(failure([] { hex("00-00-00-00-00-00-00-00-00").uinteger(); }).why, "Integer overflow.");

  EXPECT_EQ(ip("::ffff:ffff:ffff:ffff").uinteger(), UINT64_MAX);
  f = failure([] { ip("2001:db8::1").integer(); });
  EXPECT_EQ(f.what, "Cannot convert ip address '2001:db8::1' to an integer.");
  EXPECT_EQ(f.why, "Integer overflow.");

  f = failure([] { endpoint("[::1]:547").integer(); });
  EXPECT_EQ(f.what, "Cannot convert from type 'ip endpoint' to 'integer'.");
  EXPECT_EQ(f.why, "Invalid conversion.");
  EXPECT_EQ(f.context, "CVariant::integer");
}

TEST(CVariantTest, AddressConversions) {
  // Numbers need a family from the subtype.
  EXPECT_EQ(CVariant(258).ipaddress(VST::dst_ipv4).string(), "0.0.1.2");
  EXPECT_EQ(CVariant(UINT64_MAX).ipaddress(VST::dst_ipv4).string(), "255.255.255.255");
  Failure f = failure([] { CVariant(1).ipaddress(); });
  EXPECT_EQ(f.what, "Cannot determine ip address type from variant subtype.");

  CVariant v = ip("192.0.2.1");
  v.convertTo(VT::dt_ipaddress, VST::dst_ipv6);
  EXPECT_EQ(v.string(), "::ffff:192.0.2.1");
  EXPECT_EQ(v.subtype(), VST::dst_ipv6);
  v.convertTo(VT::dt_ipaddress, VST::dst_ipv4);
  EXPECT_EQ(v.string(), "192.0.2.1");
  EXPECT_EQ(v.subtype(), VST::dst_ipv4);
  v.convertTo(VT::dt_ipaddress);  // general keeps the family
  EXPECT_EQ(v.subtype(), VST::dst_ipv4);

  f = failure([] { ip("2001:db8::1").ipaddress(VST::dst_ipv4); });
  EXPECT_EQ(f.what, "Cannot convert variant value '2001:db8::1' to type 'ip address'.");
  EXPECT_EQ(f.why, "Address is not an IPv4-mapped address.");

  EXPECT_EQ(ip("192.0.2.1").ipaddress(VST::dst_ipv6, false).string(), "192.0.2.1");
  EXPECT_EQ(CVariant("10.0.0.1").ipaddress(VST::dst_ipv6).string(), "::ffff:10.0.0.1");
  EXPECT_EQ(hex("00-00-00-00-00-00-00-00-00-00-00-00-00-00-00-01").ipaddress().string(), "::1");
  EXPECT_EQ(endpoint("192.0.2.9:67").ipaddress().string(), "192.0.2.9");
}

TEST(CVariantTest, EmptyValueOfType) {
  const char* want[] = {"", "::", "false", "Thu Jan  1 00:00:00 1970", "", "", "0", "[::]:0", "0"};
  for (unsigned t = 0; t <= VT::kLast; ++t) {
    const CVariant v(static_cast<VT::data_type>(t));
    EXPECT_EQ(v.type(), t);
    EXPECT_EQ(v.string(), want[t]) << t;
    EXPECT_EQ(v.valid(), t != 0);
  }
  EXPECT_EQ(CVariant(VT::dt_ipaddress, VST::dst_ipv4).string(), "0.0.0.0");
  EXPECT_EQ(CVariant(VT::dt_string, VST::dst_function_name).subtype(), VST::dst_function_name);
  EXPECT_EQ(CVariant(VT::dt_string, VST::dst_ipv4).subtype(), VST::dst_general);
  EXPECT_EQ(failure([] { CVariant(static_cast<VT::data_type>(9)); }).what,
            "Cannot set variant data type from value 9.");
}

// Which types each operator takes: allowed ones compute, others throw the
// exact text. Both operands are the same sample, so no conversion is in play.
TEST(CVariantTest, OperatorTypeTable) {
  struct OpCase {
    const char* name;
    const char* symbol;
    const char* context;
    unsigned allowed;  // bit per type
    std::function<void(const CVariant&, const CVariant&)> run;
  };
  auto bits = [](std::initializer_list<unsigned> types) {
    unsigned b = 0;
    for (unsigned t : types) b |= 1u << t;
    return b;
  };
  const unsigned num = bits({VT::dt_integer, VT::dt_uinteger});
  const unsigned ipNum = num | bits({VT::dt_ipaddress});
  const unsigned ordered = ipNum | bits({VT::dt_time, VT::dt_string});
  const OpCase ops[] = {
      {"addition", "+", "CVariant::operator+", ordered | bits({VT::dt_hexstore}),
       [](const CVariant& a, const CVariant& b) { (void)(a + b); }},
      {"subtraction", "-", "CVariant::operator-", ipNum | bits({VT::dt_time}),
       [](const CVariant& a, const CVariant& b) { (void)(a - b); }},
      {"multiplication", "*", "CVariant::operator*", num | bits({VT::dt_time}),
       [](const CVariant& a, const CVariant& b) { (void)(a * b); }},
      {"division", "/", "CVariant::operator/", num | bits({VT::dt_time}),
       [](const CVariant& a, const CVariant& b) { (void)(a / b); }},
      {"bitwise-and", "&", "CVariant::operator&", ipNum,
       [](const CVariant& a, const CVariant& b) { (void)(a & b); }},
      {"bitwise-or", "|", "CVariant::operator|", ipNum,
       [](const CVariant& a, const CVariant& b) { (void)(a | b); }},
      {"bitwise-xor", "^", "CVariant::operator^", ipNum,
       [](const CVariant& a, const CVariant& b) { (void)(a ^ b); }},
      {"less-than", "<", "CVariant::operator<", ordered,
       [](const CVariant& a, const CVariant& b) { (void)(a < b); }},
      {"less-than", "<", "CVariant::operator>=", ordered,
       [](const CVariant& a, const CVariant& b) { (void)(a >= b); }},
      {"unary-negation", "-", "CVariant::operator-", num,
       [](const CVariant& a, const CVariant&) { (void)(-a); }},
      {"bitwise-inverse", "~", "CVariant::operator~", ipNum,
       [](const CVariant& a, const CVariant&) { (void)(~a); }},
  };
  const char* words[] = {"variant",       "ip address", "boolean",  "time",    "string",
                         "byte sequence", "integer",    "endpoint", "uinteger"};
  std::vector<CVariant> values = samples();
  values[VT::dt_uinteger] = CVariant(7u);  // non-zero divisors
  values[VT::dt_integer] = CVariant(-7);
  values[VT::dt_time] = CVariant(CTimeT(100));  // squares without overflow
  for (const OpCase& op : ops) {
    for (unsigned t = 0; t <= VT::kLast; ++t) {
      const Failure f = failure([&] { op.run(values[t], values[t]); });
      const std::string where = std::string(op.symbol) + " on " + VT::string(t);
      if (op.allowed & (1u << t)) {
        EXPECT_EQ(f.what, "no throw") << where << ": " << f.why;
      } else {
        EXPECT_EQ(f.what, std::string("Cannot perform '") + op.name + "' (" + op.symbol + ") on " +
                              words[t] + " values.")
            << where;
        EXPECT_EQ(f.why, "Illegal operation.") << where;
        EXPECT_EQ(f.context, op.context) << where;
      }
    }
  }
  // Equality takes every type but unknown.
  for (unsigned t = 1; t <= VT::kLast; ++t) EXPECT_TRUE(values[t] == values[t]) << t;
  const Failure f = failure([] { (void)(CVariant() == CVariant()); });
  EXPECT_EQ(f.what, "Cannot compare variant values.");
  EXPECT_EQ(f.context, "CVariant::operator==");
}

TEST(CVariantTest, OperatorValues) {
  struct Case {
    CVariant result;
    VT::data_type type;
    const char* text;
  };
  const CVariant t100(CTimeT(100));
  const Case cases[] = {
      {CVariant(5) + CVariant("3"), VT::dt_integer, "8"},  // right converts to the left's type
      {CVariant("5") + CVariant(3), VT::dt_string, "53"},
      {CVariant(INT64_MAX) + 1, VT::dt_integer, "-9223372036854775808"},  // wraps
      {CVariant(0u) - 1u, VT::dt_uinteger, "18446744073709551615"},
      {CVariant(-7) / 2, VT::dt_integer, "-3"},
      {CVariant(INT64_MIN) / -1, VT::dt_integer, "-9223372036854775808"},
      {CVariant(7u) / 2, VT::dt_uinteger, "3"},
      {CVariant(6) * -1, VT::dt_integer, "-6"},
      {CVariant(12) & 10, VT::dt_integer, "8"},
      {CVariant(12u) | 3, VT::dt_uinteger, "15"},
      {CVariant(12) ^ 10, VT::dt_integer, "6"},
      {-CVariant(5), VT::dt_integer, "-5"},
      {-CVariant(1u), VT::dt_uinteger, "18446744073709551615"},
      {~CVariant(0), VT::dt_integer, "-1"},
      {ip("2001:db8::ff") + 1, VT::dt_ipaddress, "2001:db8::100"},
      {ip("192.0.2.10") - 10, VT::dt_ipaddress, "192.0.2.0"},
      {ip("192.0.2.77") & ip("255.255.255.0"), VT::dt_ipaddress, "192.0.2.0"},
      {ip("2001:db8::1") | CVariant("::ff00"), VT::dt_ipaddress, "2001:db8::ff01"},
      {~ip("255.255.0.0"), VT::dt_ipaddress, "0.0.255.255"},
      {t100 + 20, VT::dt_time, "Thu Jan  1 00:02:00 1970"},
      {t100 - CVariant(CTimeT(40)), VT::dt_time, "Thu Jan  1 00:01:00 1970"},
      {t100 * 3, VT::dt_time, "Thu Jan  1 00:05:00 1970"},
      {t100 / 4, VT::dt_time, "Thu Jan  1 00:00:25 1970"},
      {hex("01-02") + hex("03"), VT::dt_hexstore, "01-02-03"},
      {hex("01") + CVariant("0a:0b"), VT::dt_hexstore, "01-0A-0B"},
      {CVariant("ab") + CVariant(true), VT::dt_string, "abtrue"},
      {1 + CVariant(2u), VT::dt_integer, "3"},  // a plain left operand becomes a variant
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.result.type(), c.type) << c.text;
    EXPECT_EQ(c.result.string(), c.text);
  }
}

TEST(CVariantTest, OperatorFailures) {
  // The operator is checked before the right operand is converted.
  Failure f = failure([] { (void)(CVariant(true) + endpoint("[::1]:1")); });
  EXPECT_EQ(f.what, "Cannot perform 'addition' (+) on boolean values.");
  // A right operand that does not convert reports the conversion.
  f = failure([] { (void)(CVariant(1) + endpoint("[::1]:1")); });
  EXPECT_EQ(f.what, "Cannot convert from type 'ip endpoint' to 'integer'.");
  EXPECT_EQ(f.context, "CVariant::operator+");
  f = failure([] { (void)(CVariant(1) + CVariant("x")); });
  EXPECT_EQ(f.why, "Value is not an integer.");

  for (const CVariant& zero : {CVariant(0), CVariant(0u), CVariant(CTimeT(0))}) {
    f = failure([&] { (void)(CVariant(zero.type()) / zero); });
    EXPECT_EQ(f.why, "Division by zero.") << zero.string();
    EXPECT_EQ(f.context, "CVariant::operator/");
  }
  EXPECT_EQ(failure([] { (void)(CVariant(5) / CVariant(0)); }).what,
            "Cannot perform 'division' (/) on integer values.");
}

TEST(CVariantTest, ComparisonsUseTheLeftType) {
  EXPECT_TRUE(CVariant(9) < CVariant("10"));  // integer comparison
  EXPECT_TRUE(CVariant("10") < CVariant(9));  // string comparison
  EXPECT_TRUE(CVariant(10) > CVariant("9"));
  EXPECT_TRUE(CVariant(10) >= 10);
  EXPECT_TRUE(CVariant(-1) <= CVariant(0));
  EXPECT_FALSE(CVariant(-1u) <= CVariant(0));
  EXPECT_TRUE(ip("10.0.0.1") < CVariant("10.0.0.2"));
  EXPECT_TRUE(ip("::ffff:10.0.0.1") == ip("10.0.0.1"));  // mapped before comparing
  EXPECT_TRUE(CVariant(CTimeT(5)) < CVariant(6));
  EXPECT_TRUE(hex("01-02") == CVariant("01:02"));
  EXPECT_TRUE(hex("01-02") != hex("01"));
  EXPECT_TRUE(CVariant(true) == CVariant("yes"));
  EXPECT_TRUE(endpoint("[::1]:5") != endpoint("[::1]:6"));
  const Failure f = failure([] { (void)(CVariant(true) > CVariant(false)); });
  EXPECT_EQ(f.what, "Cannot perform 'less-than' (<) on boolean values.");
  EXPECT_EQ(f.context, "CVariant::operator>");
}

TEST(CVariantTest, LogicalOperatorsConvertBothOperands) {
  EXPECT_TRUE(CVariant(1) && CVariant("x"));
  EXPECT_FALSE(CVariant(-1) && CVariant(true));
  EXPECT_TRUE(CVariant(0) || CVariant(2u));
  EXPECT_TRUE(!CVariant(""));
  // Both operands are converted even when the left decides the result.
  EXPECT_THROW((void)(CVariant(0) && endpoint("[::1]:1")), CException);
}

TEST(CVariantTest, SelfOperandsAndSharedBytes) {
  CVariant a = ip("10.0.0.1");
  a += a;
  EXPECT_EQ(a.string(), "20.0.0.2");
  CVariant s("ab");
  s += s;
  EXPECT_EQ(s.string(), "abab");
  CVariant h = hex("01");
  const CVariant copy = h;
  h += h;
  EXPECT_EQ(h.string(), "01-01");
  EXPECT_EQ(copy.string(), "01");  // a copy never sees the other's changes
}

TEST(CVariantTest, ParseUnderTypeHint) {
  struct Case {
    VT::data_type hint;
    const char* text;
    const char* result;  // text form of the value, or the why-text
  };
  const Case good[] = {
      {VT::dt_boolean, "TRUE", "true"},
      {VT::dt_boolean, "0", "false"},
      {VT::dt_integer, "-0x10", "-16"},
      {VT::dt_integer, "010", "8"},
      {VT::dt_integer, "-9223372036854775808", "-9223372036854775808"},
      {VT::dt_uinteger, "18446744073709551615", "18446744073709551615"},
      {VT::dt_uinteger, "+7", "7"},
      {VT::dt_time, "2024-02-29 13:05:09", "Thu Feb 29 13:05:09 2024"},
      {VT::dt_time, "2024-02-29T13:05:09Z", "Thu Feb 29 13:05:09 2024"},
      {VT::dt_time, "Thu Feb 29 13:05:09 2024", "Thu Feb 29 13:05:09 2024"},
      {VT::dt_time, "60", "Thu Jan  1 00:01:00 1970"},
      {VT::dt_string, " \"as is\" ", " \"as is\" "},
      {VT::dt_hexstore, "0a-0B", "0A-0B"},
      {VT::dt_hexstore, "0a:0b:0c", "0A-0B-0C"},
      {VT::dt_hexstore, "0a0b", "0A-0B"},
      {VT::dt_hexstore, "ff", "FF"},
      {VT::dt_hexstore, "", ""},
      {VT::dt_ipaddress, "2001:DB8::1", "2001:db8::1"},
      {VT::dt_ipaddress, "192.0.2.1", "192.0.2.1"},
      {VT::dt_endpoint, "[2001:db8::1]:547", "[2001:db8::1]:547"},
      {VT::dt_endpoint, "192.0.2.1:67", "192.0.2.1:67"},
      {VT::dt_endpoint, "[::1]", "[::1]:0"},
      {VT::dt_endpoint, "::1", "[::1]:0"},
      {VT::dt_unknown, "0x10", "16"},  // no hint: deduced
  };
  for (const Case& c : good) {
    const Failure f = failure([&] {
      const CVariant v(c.hint, c.text);
      EXPECT_EQ(v.type(), c.hint == VT::dt_unknown ? VT::dt_integer : c.hint) << c.text;
      EXPECT_EQ(v.string(), c.result) << c.text;
    });
    EXPECT_EQ(f.what, "no throw") << c.text << ": " << f.why;
  }

  const Case bad[] = {
      {VT::dt_boolean, "yes", "Value 'yes' is not a boolean value."},
      {VT::dt_boolean, "", "Value '' is not a boolean value."},
      {VT::dt_integer, "12abc", "Value '12abc' is not an integer."},
      {VT::dt_integer, "9223372036854775808", "Value '9223372036854775808' is not an integer."},
      {VT::dt_integer, "0x", "Value '0x' is not an integer."},
      {VT::dt_integer, "09", "Value '09' is not an integer."},
      {VT::dt_integer, " 1", "Value ' 1' is not an integer."},
      {VT::dt_uinteger, "-1", "Value '-1' is not an integer."},
      {VT::dt_uinteger, "18446744073709551616", "Value '18446744073709551616' is not an integer."},
      {VT::dt_time, "yesterday", "Value 'yesterday' is not a time value."},
      {VT::dt_time, "2024-02-30 00:00:00", "Value '2024-02-30 00:00:00' is not a time value."},
      {VT::dt_hexstore, "0a-0b:0c", "Value '0a-0b:0c' is not a byte sequence."},
      {VT::dt_hexstore, "0a0", "Value '0a0' is not a byte sequence."},
      {VT::dt_hexstore, "0g", "Value '0g' is not a byte sequence."},
      {VT::dt_hexstore, "0a-", "Value '0a-' is not a byte sequence."},
      {VT::dt_ipaddress, "192.0.2", "Value '192.0.2' is not an ip address."},
      {VT::dt_ipaddress, "", "Value '' is not an ip address."},
      {VT::dt_endpoint, "[::1]:65536", "Value '[::1]:65536' is not an endpoint."},
      {VT::dt_endpoint, "localhost:547", "Value 'localhost:547' is not an endpoint."},
      {VT::dt_endpoint, "[192.0.2.1]:5", "Value '[192.0.2.1]:5' is not an endpoint."},
      {VT::dt_endpoint, "[::1]547", "Value '[::1]547' is not an endpoint."},
      {VT::dt_endpoint, "192.0.2.1:", "Value '192.0.2.1:' is not an endpoint."},
      {static_cast<VT::data_type>(9), "1", "Unknown data type hint '9'."},
      {VT::dt_unknown, "", "Type cannot be deduced from an empty value."},
  };
  for (const Case& c : bad) {
    CVariant v(7);
    const Failure f = failure([&] { v.assign(c.hint, c.text); });
    EXPECT_EQ(f.what, c.hint == VT::dt_unknown ? "Cannot interpret variant."
                                               : "Cannot assign variant from text.")
        << c.text;
    EXPECT_EQ(f.why, c.result);
    EXPECT_EQ(v.integer(), 7) << "a failed assign keeps the value";
  }
}

TEST(CVariantTest, DeduceType) {
  struct Case {
    const char* text;
    VT::data_type type;
    const char* value;
  };
  const Case cases[] = {
      {"\"abc\"", VT::dt_string, "abc"},
      {"'a + b'", VT::dt_string, "a + b"},
      {"\"\"", VT::dt_string, ""},
      {"\"true\"", VT::dt_string, "true"},
      {"\"", VT::dt_string, "\""},
      {"TRUE", VT::dt_boolean, "true"},
      {"false", VT::dt_boolean, "false"},
      {"42", VT::dt_integer, "42"},
      {"-42", VT::dt_integer, "-42"},
      {"0x1F", VT::dt_integer, "31"},
      {"017", VT::dt_integer, "15"},
      {"0", VT::dt_integer, "0"},
      {"9223372036854775807", VT::dt_integer, "9223372036854775807"},
      {"9223372036854775808", VT::dt_uinteger, "9223372036854775808"},
      {"0xFFFFFFFFFFFFFFFF", VT::dt_uinteger, "18446744073709551615"},
      {"-9223372036854775809", VT::dt_string, "-9223372036854775809"},
      {"18446744073709551616", VT::dt_string, "18446744073709551616"},
      {"09", VT::dt_string, "09"},
      {"2001:db8::1", VT::dt_ipaddress, "2001:db8::1"},
      {"192.0.2.1", VT::dt_ipaddress, "192.0.2.1"},
      {"01:02:03:04:05:06:07:08", VT::dt_ipaddress, "1:2:3:4:5:6:7:8"},  // address first
      {"[2001:db8::1]:547", VT::dt_endpoint, "[2001:db8::1]:547"},
      {"192.0.2.1:67", VT::dt_endpoint, "192.0.2.1:67"},
      {"00:11:22:aa:bb:cc", VT::dt_hexstore, "00-11-22-AA-BB-CC"},
      {"0a-0b", VT::dt_hexstore, "0A-0B"},
      {"12:34", VT::dt_hexstore, "12-34"},
      {"0a", VT::dt_string, "0a"},  // one byte is not enough
      {"0a-0b:0c", VT::dt_string, "0a-0b:0c"},
      {"2024-02-29 13:05:09", VT::dt_time, "Thu Feb 29 13:05:09 2024"},
      {"2024-02-29T13:05:09Z", VT::dt_time, "Thu Feb 29 13:05:09 2024"},
      {"Thu Feb 29 13:05:09 2024", VT::dt_time, "Thu Feb 29 13:05:09 2024"},
      {" 42", VT::dt_string, " 42"},
      {"[::1]", VT::dt_string, "[::1]"},
      {"hello world", VT::dt_string, "hello world"},
  };
  for (const Case& c : cases) {
    const CVariant v = CVariant::deduce(c.text);
    EXPECT_EQ(v.type(), c.type) << c.text;
    EXPECT_EQ(v.string(), c.value) << c.text;
  }
  const Failure f = failure([] { CVariant::deduce(""); });
  EXPECT_EQ(f.what, "Cannot interpret variant.");
  EXPECT_EQ(f.why, "Type cannot be deduced from an empty value.");
  // A quoted rendering reads back as the same string.
  EXPECT_EQ(CVariant::deduce(CVariant("42").string(true)).type(), VT::dt_string);
}
