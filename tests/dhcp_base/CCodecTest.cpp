// Every value type through wire bytes, text and JSON, and the codec edge
// cases that catch real faults.

#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "exp_eval/CExpEval.h"

using namespace optiontest;

namespace {

struct Case {
  const char* record;  // definition lines after "tagpath = 300"
  const char* text;    // value in text form (canonical: string() gives it back)
  const char* value;   // payload bytes as hex
};

const Case kCases[] = {
    {"type = 8bit\narrayed = true", "1, 255", "01ff"},
    {"type = 16bit\nsigned = true", "-2", "fffe"},
    {"type = 24bit", "1193046", "123456"},
    {"type = 32bit", "4294967295", "ffffffff"},
    {"type = 64bit\narrayed = true", "1, 18446744073709551615", "0000000000000001ffffffffffffffff"},
    {"type = string", "\"hello, world\"", "68656c6c6f2c20776f726c64"},
    {"type = string\nnull_terminated = true", "\"abc\"", "61626300"},
    {"type = string\narrayed = true\nlen_prefix_width = 2", "\"a\", \"bc\"", "00016100026263"},
    {"type = ipaddress\narrayed = true", "\"2001:db8::1\", \"::\"",
     "20010db8000000000000000000000001"
     "00000000000000000000000000000000"},
    {"type = boolean\narrayed = true", "true, false", "0100"},
    {"type = time\narrayed = true", "infinite, 60", "ffffffff0000003c"},
    {"type = byte_sequence", "\"01-02-AB\"", "0102ab"},
    {"type = dnsname\narrayed = true", "example.com, a.b",
     "076578616d706c6503636f6d00"
     "0161016200"},
    {"type = ip_endpoint", "\"[2001:db8::1]:53\"", "20010db80000000000000000000000010035"},
    {"type = snmp_oid", "1.3.6.1.2.1;integer=5",
     "000b312e332e362e312e322e310009696e74656765723d35"},
    {"type = control", "", ""},
};

class CCodecTest : public OptionFixture {};

}  // namespace

TEST_F(CCodecTest, EveryTypeRoundTripsThroughWireTextAndJson) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.record);
    ctx.optionLookup().clear();
    define(std::string("tagpath = 300\nname = x\n") + c.record);

    COption::Ptr o = make(300);
    ASSERT_TRUE(o);
    o->string(c.text);
    EXPECT_EQ(o->string(), c.text);

    // Wire: header (code 300, length) then the payload.
    const std::size_t n = bytes(c.value).size();
    const std::string header =
        hex(std::vector<std::uint8_t>{0x01, 0x2c, static_cast<std::uint8_t>(n >> 8),
                                      static_cast<std::uint8_t>(n)}
                .data(),
            4);
    EXPECT_EQ(wire(*o), header + c.value);
    EXPECT_EQ(o->area(), 4 + n);
    COptionStorePtr back = parse(header + c.value);
    ASSERT_EQ(back->count(), 1u);
    EXPECT_EQ(back->find(CTagPath{300})->string(), c.text);

    // JSON: the object form reads back into a fresh option.
    COption::Ptr copy = make(300);
    copy->json(o->json());
    EXPECT_EQ(copy->string(), c.text);
  }
}

// Fixed-size values refuse an empty payload, numbers one that is not a
// whole number of values.
TEST_F(CCodecTest, ShortPayloadsAreRefused) {
  define("tagpath = 300\nname = x\ntype = 16bit");
  EXPECT_EQ(parse("012c0004aabbccdd")->find(CTagPath{300})->string(), "43707, 52445");
  const std::pair<const char*, const char*> cases[] = {
      {"16bit", "012c0003aabbcc"}, {"16bit", "012c0000"}, {"ipaddress", "012c0000"},
      {"boolean", "012c0000"},     {"time", "012c0000"},  {"ip_endpoint", "012c0000"},
  };
  for (const auto& [type, wire] : cases) {
    ctx.optionLookup().clear();
    define(std::string("tagpath = 300\nname = x\ntype = ") + type);
    EXPECT_EQ(failure([&] { parse(wire); }),
              "Cannot decode option 300. | Buffer is too short to represent this option.")
        << type << ' ' << wire;
  }
}

TEST_F(CCodecTest, DnsNames) {
  define("tagpath = 300\nname = x\ntype = dnsname");
  COption::Ptr o = make(300);
  o->string("example.com.");  // the root dot is implied
  EXPECT_EQ(o->string(), "example.com");

  EXPECT_EQ(failure([&] { parse("012c0004016100c0"); }),
            "Cannot decode value for option 300. | Compressed DNS names are not supported.");
  EXPECT_EQ(failure([&] { parse("012c00030561626300"); }),
            "Cannot decode value for option 300. | Option is malformed.");
  // A partial name (no closing zero) still reads.
  EXPECT_EQ(parse("012c0004036162630")->count(), 1u);
  EXPECT_EQ(failure([&] { o->string(std::string(64, 'a') + ".com"); }),
            "Cannot set domain name '" + std::string(64, 'a') +
                ".com' for option 300. | Invalid domain name.");
}

TEST_F(CCodecTest, TextInputFailuresKeepThePreviousValue) {
  struct Bad {
    const char* type;
    const char* text;
    const char* failure;
  };
  const Bad cases[] = {
      {"boolean", "1",
       "Cannot set boolean value from text. | A boolean value must be 'true' or 'false'."},
      {"ipaddress", "2001:zz::1",
       "Cannot set address '2001:zz::1' for option 300. | Invalid address."},
      {"ip_endpoint", "nowhere",
       "Cannot serialize endpoint option 300 with value 'nowhere'. | Endpoint is not valid."},
      {"snmp_oid", "1.3.6",
       "Cannot set varbind option 300 with text '1.3.6'. | Varbind is not valid; use the format "
       "'oid;type=value'."},
      {"control", "1",
       "Cannot set value '1' for control option 300. | Control options cannot be assigned a "
       "value."},
      {"32bit", "12x", "Cannot set numeric value '12x' for option 300. | Value is not a number."},
      // Never wrapped into the width.
      {"8bit", "256", "Cannot set numeric value '256' for option 300. | Value is out of range."},
      {"8bit", "-1", "Cannot set numeric value '-1' for option 300. | Value is out of range."},
      {"16bit", "0x10000",
       "Cannot set numeric value '0x10000' for option 300. | Value is out of range."},
      {"32bit", "4294967296",
       "Cannot set numeric value '4294967296' for option 300. | Value is out of range."},
      // A DHCPv6 option holds IPv6 addresses only.
      {"ipaddress", "192.0.2.1",
       "Cannot set address '192.0.2.1' for option 300. | Not an IPv6 address."},
      {"byte_sequence", "01-0g",
       "Cannot set byte sequence '01-0g' for option 300. | Invalid byte sequence."},
      // Names whose text form would not read back: blanks, commas, quotes.
      {"dnsname", "a b.example",
       "Cannot set domain name 'a b.example' for option 300. | Invalid domain name."},
      {"dnsname", "\"x,y\".example",
       "Cannot set domain name 'x,y.example' for option 300. | Invalid domain name."},
      {"dnsname", "\"x\\\"y\"",
       "Cannot set domain name 'x\"y' for option 300. | Invalid domain name."},
      {"string", "\"open, 1", "Cannot read value list '\"open, 1'. | A quote is not closed."},
  };
  for (const Bad& b : cases) {
    ctx.optionLookup().clear();
    define(std::string("tagpath = 300\nname = x\ntype = ") + b.type);
    COption::Ptr o = make(300);
    const std::string before = o->string();
    EXPECT_EQ(failure([&] { o->string(b.text); }), b.failure) << b.type;
    EXPECT_EQ(o->string(), before) << b.type;
  }
}

TEST_F(CCodecTest, NumbersReadWithAutomaticBase) {
  define("tagpath = 300\nname = x\ntype = 8bit\narrayed = true");
  COption::Ptr o = make(300);
  o->string("0x10, 010, \" 9 \", 255");
  EXPECT_EQ(o->string(), "16, 8, 9, 255");
  // A signed definition takes its own range.
  ctx.optionLookup().clear();
  define("tagpath = 300\nname = x\ntype = 8bit\narrayed = true\nsigned = true");
  COption::Ptr s = make(300);
  s->string("-128, 127");
  EXPECT_EQ(s->string(), "-128, 127");
  for (const char* bad : {"128", "-129"})
    EXPECT_EQ(failure([&] { s->string(bad); }), std::string("Cannot set numeric value '") + bad +
                                                    "' for option 300. | Value is out of range.");
}

TEST_F(CCodecTest, QuotedAndPlainPartsOfAnItemKeepTheirOrder) {
  define("tagpath = 300\nname = x\ntype = string\narrayed = true\nlen_prefix_width = 1");
  COption::Ptr o = make(300);
  o->string(" ab\"c, d\"ef , \" g\" ");
  EXPECT_EQ(o->string(), "\"abc, def\", \" g\"");
}

TEST_F(CCodecTest, LongOptionIsSplitIntoParts) {
  define("tagpath = 300\nname = x\ntype = byte_sequence");
  COption::Ptr o = make(300);
  std::vector<std::uint8_t> data(70000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
  static_cast<void>(o->json(std::string("[\"") + hex(data.data(), data.size()) + "\"]"));
  ASSERT_EQ(o->valueArea(), 70000u);
  EXPECT_EQ(o->area(), 70008u);

  std::vector<std::uint8_t> buf(70008);
  COptionOutputContext oc;
  EXPECT_EQ(o->fullOutput(buf.data(), buf.size(), oc), buf.data() + 70008);
  EXPECT_EQ(hex(buf.data(), 4), "012cfffe");  // first part: 65534 bytes
  EXPECT_EQ(hex(buf.data() + 4 + 65534, 4),
            "012c" + hex(std::vector<std::uint8_t>{0x11, 0x72}.data(), 2));
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 65534, buf.begin() + 4));
  EXPECT_TRUE(std::equal(data.begin() + 65534, data.end(), buf.begin() + 65542));

  EXPECT_EQ(failure([&] { o->fullOutput(buf.data(), 70003, oc); }),
            "Cannot write header for option 300. | The output buffer is too small by 1 bytes.");
  EXPECT_EQ(failure([&] { o->fullOutput(buf.data(), 70005, oc); }),
            "Cannot split option 300. | The output buffer is too small.");
}

namespace {
// Parses like the real evaluator but evaluates everything to nothing, as
// the server's placeholder does when no evaluator module is loaded.
class CEmptyEval : public nuv::CExpEval {
 public:
  using nuv::CExpEval::execute;
  void execute(nuv::CMultiVariant& results, const nuv::CSyntaxTreeProxy&) const override {
    results.clear();
  }
};
}  // namespace

TEST_F(CCodecTest, ExpressionOptionWritesItsResultOrNothing) {
  nuv::CExpEval eval;
  ctx.evaluator(&eval);
  define("tagpath = 300\nname = x\ntype = 16bit\narrayed = true");
  COption::Ptr o =
      ctx.factory().create(300, CVendorID::reserved(), COptionType::ot_expression, nullptr);
  o->string("[1 + 2 * 3]");
  EXPECT_EQ(o->valueType(), COptionType::ot_expression);
  EXPECT_EQ(o->string(), "[1 + 2 * 3]");
  EXPECT_EQ(wire(*o), "012c00020007");

  CEmptyEval none;
  ctx.evaluator(&none);
  COption::Ptr empty =
      ctx.factory().create(300, CVendorID::reserved(), COptionType::ot_expression, nullptr);
  empty->string("[1 + 2]");
  std::uint8_t buf[16] = {};
  COptionOutputContext oc;
  EXPECT_EQ(empty->fullOutput(buf, sizeof buf, oc), buf);  // not even a header
  EXPECT_TRUE(oc.noExpressionResult());

  // A store skips it and writes the rest.
  define("tagpath = 301\nname = y\ntype = 8bit");
  COptionStorePtr store = ctx.factory().createOS("s");
  store->append(empty);
  COption::Ptr y = make(301, store.get());
  y->string("9");
  store->append(y);
  EXPECT_EQ(wireOf(*store), "012d000109");

  EXPECT_EQ(failure([&] {
              COptionInputContext ic;
              empty->valueInput(buf, 2, ic);
            }),
            "Cannot define an expression option from raw binary format. | Illegal operation.");
}

TEST_F(CCodecTest, LengthPrefixedValuesCheckTheirLengths) {
  define("tagpath = 300\nname = x\ntype = byte_sequence\narrayed = true\nlen_prefix_width = 1");
  EXPECT_EQ(parse("012c0004"
                  "02aabb"
                  "00")
                ->find(CTagPath{300})
                ->count(),
            2u);
  EXPECT_EQ(
      failure([&] {
        parse(
            "012c0003"
            "05aabb");
      }),
      "Failed to read the 'length' field for option 300. | The 'length' field value is too large.");
}

TEST_F(CCodecTest, JsonObjectForm) {
  define("tagpath = 300\nname = box\ntype = subencoded");
  define("tagpath = 300/1\nname = flag\ntype = boolean");
  define("tagpath = 300/2\nname = ports\ntype = 16bit\narrayed = true");
  COption::Ptr box = make(300);
  box->string("{ flag = true, ports = 547, 546 }");
  EXPECT_EQ(
      box->json(),
      R"({"arrayed":"false","name":"box","tagpath":"300","type":"subencoded","value":[)"
      R"({"arrayed":"false","name":"flag","tagpath":"300/1","type":"boolean","value":[true],"vendorid":"0"},)"
      R"({"arrayed":"true","name":"ports","tagpath":"300/2","type":"16bit","value":[547,546],"vendorid":"0"}],)"
      R"("vendorid":"0"})");
  COption::Ptr copy = make(300);
  copy->json(box->json());
  EXPECT_EQ(copy->string(), "{ flag = true, ports = 547, 546 }");
  EXPECT_EQ(
      failure([&] { copy->json("{\"value\": [{\"tagpath\": \"300/9\", \"value\": [1]}]}"); }),
      "Cannot find attributes for tag 300/9, vendor id 0. | No option with this tag/id exists.");
  EXPECT_EQ(failure([&] { copy->json("{\"value\": 5}"); }),
            "Cannot deserialize option 300 from json format. | Invalid json option data.");
  COptionStorePtr store = ctx.factory().createOS("s");
  EXPECT_EQ(failure([&] { store->json("{"); }).substr(0, 50),
            "Cannot deserialize option store from json format. ");
}
