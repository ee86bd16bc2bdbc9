// Reading and writing option values as ordinary values.

#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_base/CValueTypeInserter.h"

using namespace optiontest;

namespace {
class CValueTypeConverterTest : public OptionFixture {
 protected:
  void SetUp() override { loadCatalogue(); }
};
}  // namespace

TEST_F(CValueTypeConverterTest, NativeAndConvertedReads) {
  COption::Ptr pref = make(7);
  CValueTypeInserter::push_back(std::uint8_t{200}, *pref);
  CValueTypeConverter c(pref);
  EXPECT_EQ(c.uint8(0), 200);
  EXPECT_EQ(c.int8(0), -56);
  EXPECT_EQ(c.uint32(0), 200u);  // through a variant
  EXPECT_EQ(c.string(0), "200");
  EXPECT_TRUE(c.boolean(0));
  EXPECT_EQ(c.variant(0).type(), nuv::CVariantType::dt_uinteger);

  COption::Ptr dns = make(23);
  dns->string("2001:db8::1, 2001:db8::2");
  EXPECT_EQ(CValueTypeConverter::ip(*dns, 1).string(), "2001:db8::2");
  EXPECT_EQ(CValueTypeConverter::hexstore(*dns, 0).size(), 16u);
  EXPECT_EQ(failure([&] { CValueTypeConverter::ip(*dns, 2); }),
            "Cannot access element 2 in option 23. | Index out of range.");

  COption::Ptr port = make(100006);
  port->string("[2001:db8::53]:0");
  EXPECT_EQ(CValueTypeConverter::endpoint(*port, 0).string(), "[2001:db8::53]:0");
  COption::Ptr name = make(100011);
  name->string("host1");
  EXPECT_EQ(CValueTypeConverter::string(*name, 0), "host1");

  struct NoVariant {
    std::uint32_t code;
    const char* text;
  };
  const NoVariant none[] = {
      {3, "Cannot convert a fixed_offset option to a variant. | Invalid conversion."},
      {56, "Cannot convert a subencoded option to a variant. | Invalid conversion."},
      {14, "Cannot convert protocol control data type to a variant. | Invalid conversion."},
  };
  for (const NoVariant& n : none) {
    COption::Ptr o = make(n.code);
    EXPECT_EQ(failure([&] { CValueTypeConverter::variant(*o, 0); }), n.text) << n.code;
  }
  COptionStorePtr store = ctx.factory().createOS("s");
  EXPECT_EQ(failure([&] { CValueTypeConverter::variant(*store, 0); }),
            "Cannot convert a topencoded option to a variant. | Invalid conversion.");
}

TEST_F(CValueTypeConverterTest, InsertAcceptsOnlyTheStoredKind) {
  COption::Ptr elapsed = make(8);  // 16bit
  EXPECT_EQ(failure([&] { CValueTypeInserter::push_back(std::uint32_t{5}, *elapsed); }),
            "Cannot insert value '5' into option 8, type '16bit'. | Type mismatch.");
  EXPECT_EQ(elapsed->count(), 0u);
  COption::Ptr tid = make(static_cast<std::uint32_t>(-255));  // 24bit
  CValueTypeInserter::push_back(std::uint32_t{0x12345678}, *tid);
  EXPECT_EQ(wire(*tid).substr(8), "345678");  // written in 3 bytes

  COption::Ptr zone = make(100007);  // dnsname takes text
  CValueTypeInserter::push_back(std::string("example.net"), *zone);
  CValueTypeInserter::replace("example.org", *zone, 0);
  EXPECT_EQ(zone->string(), "example.org");
  EXPECT_EQ(failure([&] { CValueTypeInserter::replace("x", *zone, 1); }),
            "Cannot access element 1 in option 100007. | Index out of range.");

  COption::Ptr auth = make(100012);
  CValueTypeInserter::push_back(true, *auth);
  CValueTypeInserter::push_back(std::int16_t{-1}, *elapsed);
  EXPECT_EQ(elapsed->string(), "65535");

  COption::Ptr iana = make(3);
  COption::Ptr iaid = make(1, iana.get());
  CValueTypeInserter::push_back(iaid, *iana);
  EXPECT_EQ(iana->count(), 1u);
  EXPECT_EQ(failure([&] { CValueTypeInserter::push_back(iaid, *elapsed); }),
            "Cannot insert option '3/1' into option 8, type '16bit'. | Type mismatch.");

  // Variants convert to what the option stores.
  COption::Ptr duid = make(100013);
  CValueTypeInserter::push_back(nuv::CVariant(nuv::CHexStore::parse("00-01-02")), *duid);
  CValueTypeInserter::push_back(nuv::CVariant(std::int64_t{300}), *elapsed);
  EXPECT_EQ(duid->string(), "\"00-01-02\"");
  EXPECT_EQ(elapsed->string(), "65535, 300");
}
