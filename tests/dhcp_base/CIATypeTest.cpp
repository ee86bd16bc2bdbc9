#include <gtest/gtest.h>

#include "OptionFixture.h"
#include "dhcp_base/CIAType.h"

using optiontest::failure;

TEST(CIATypeTest, TextAcceptsBothSpellings) {
  const struct {
    const char* text;
    CIAType::value_type type;
  } cases[] = {{"ia_na", CIAType::iana}, {"IANA", CIAType::iana},  {"Ia_Ta", CIAType::iata},
               {"iata", CIAType::iata},  {"IA_PD", CIAType::iapd}, {"iapd", CIAType::iapd}};
  for (const auto& c : cases) {
    CIAType t;
    t = c.text;
    EXPECT_EQ(t, c.type) << c.text;
  }
}

TEST(CIATypeTest, UnknownAndRefusals) {
  CIAType t;
  EXPECT_EQ(t, CIAType::unknown);
  EXPECT_EQ(t.string(), "unknown");
  EXPECT_EQ(failure([&] { t.iaTypeTag(); }), "Unknown binding id type. | Type undefined.");
  EXPECT_EQ(failure([&] { t.iaAddrAddressTag(); }), "Unknown binding id type. | Type undefined.");
  EXPECT_EQ(failure([&] { t = "unknown"; }), "Cannot set IA type. | Invalid value 'unknown'.");
  EXPECT_EQ(failure([] { CIAType(3); }), "Cannot set IA type. | Invalid type value '3'.");
}
