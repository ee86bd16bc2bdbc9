#include <gtest/gtest.h>

#include "exp_eval/CConversionFunctions.h"
#include "tests/exp_eval/ExpTestSupport.h"

using nuv::CVariantType;

TEST_F(ExpTest, ConversionFunctions) {
  const struct {
    const char* text;
    const char* value;
    CVariantType::data_type type;
  } cases[] = {
      {"[$COND(1)]", "true", CVariantType::dt_boolean},
      {"[$COND(0)]", "false", CVariantType::dt_boolean},
      {"[$BOOL(\"FALSE\")]", "false", CVariantType::dt_boolean},
      {"[$BOOL(\"no\")]", "true", CVariantType::dt_boolean},  // any other non-empty text
      {"[$STR(5)]", "5", CVariantType::dt_string},
      {"[$STRING(true)]", "true", CVariantType::dt_string},
      {"[$TEXT($BYTES(\"41-42\"))]", "AB", CVariantType::dt_string},
      {"[$TEXT(5)]", "5", CVariantType::dt_string},
      {"[$INT(\"0x10\")]", "16", CVariantType::dt_integer},
      {"[$INTEGER(\"12\")]", "12", CVariantType::dt_integer},
      {"[$INT(true)]", "1", CVariantType::dt_integer},
      {"[$BYTES(\"00-0a-ff\")]", "00-0A-FF", CVariantType::dt_hexstore},
      {"[$BYTES(258)]", "00-00-00-00-00-00-01-02", CVariantType::dt_hexstore},
      {"[$MAC(\"00-11-22-33-44-55\")]", "00:11:22:33:44:55", CVariantType::dt_hexstore},
      {"[$IP(\"2001:db8::1\")]", "2001:db8::1", CVariantType::dt_ipaddress},
      {"[$IP($BYTES(\"c0-00-02-01\"))]", "192.0.2.1", CVariantType::dt_ipaddress},
      {"[$IP.MAP(192.0.2.1)]", "::ffff:192.0.2.1", CVariantType::dt_ipaddress},
      {"[$IP.MAP(\"2001:db8::1\")]", "2001:db8::1", CVariantType::dt_ipaddress},
      {"[$IP.UNMAP(\"::ffff:192.0.2.1\")]", "192.0.2.1", CVariantType::dt_ipaddress},
      {"[$IP.UNMAP(192.0.2.1)]", "192.0.2.1", CVariantType::dt_ipaddress},
      {"[$UNKNOWN()]", "", CVariantType::dt_unknown},
  };
  for (const auto& c : cases) {
    const nuv::CVariant v = one(c.text);
    EXPECT_EQ(v.string(), c.value) << c.text;
    EXPECT_EQ(v.type(), c.type) << c.text;
  }
}

TEST_F(ExpTest, ConversionFailuresNameTheFunction) {
  EXPECT_EQ(failure("[$INT(\"abc\")]"),
            (Failure{"exp_eval", "CFunctionCall::run", "Failed to execute function $INT().",
                     "Cannot convert variant value 'abc' to type 'integer'. (Value is not an "
                     "integer.)"}));
  EXPECT_EQ(failure("[$IP.UNMAP(\"2001:db8::1\")]").why,
            "Address 2001:db8::1 is not an IPv4-mapped address.");
  EXPECT_EQ(failure("[$BYTES(\"xyz\")]").why,
            "Cannot convert variant value 'xyz' to type 'byte sequence'. (Value is not a byte "
            "sequence.)");
  EXPECT_EQ(failure("[$IP(\"not an address\")]").what, "Failed to execute function $IP().");
  EXPECT_EQ(failure("[$UNKNOWN(1)]").why, "Too many arguments.");
  EXPECT_EQ(failure("[$COND()]").why, "Not enough arguments.");
}
