#include <gtest/gtest.h>

#include <set>

#include "dhcp_database/CBinding6Tuple.h"
#include "tests/fixtures/FailureOf.h"

namespace {

CBinding6Tuple tuple(const char* duid, CIAType type, std::uint32_t iaid) {
  return CBinding6Tuple(nuv::CHexStore::parse(duid), type, iaid);
}

}  // namespace

TEST(CBinding6TupleTest, OrdersByDuidThenTypeNumberThenUnsignedIaid) {
  using T = CIAType;
  // Listed in ascending order; each differs from the next in one field.
  const std::vector<CBinding6Tuple> ordered = {
      tuple("00-01", T::iana, 4294967295u), tuple("00-02", T::iata, 7), tuple("00-02", T::iana, 1),
      tuple("00-02", T::iana, 4294967295u), tuple("00-02", T::iapd, 0),
  };
  for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_TRUE(ordered[i] < ordered[i + 1]) << i;
    EXPECT_FALSE(ordered[i + 1] < ordered[i]) << i;
    EXPECT_TRUE(ordered[i + 1] > ordered[i]) << i;
    EXPECT_NE(ordered[i], ordered[i + 1]);
  }
  EXPECT_EQ(tuple("00-02", T::iana, 1), tuple("00-02", T::iana, 1));
  std::set<CBinding6Tuple> keys(ordered.rbegin(), ordered.rend());
  EXPECT_EQ(std::vector<CBinding6Tuple>(keys.begin(), keys.end()), ordered);
}

TEST(CBinding6TupleTest, TextFormRoundTrips) {
  const auto t = tuple("00-01-AB", CIAType::iapd, 4294967295u);
  EXPECT_EQ(t.string(), "00-01-AB,iapd,4294967295");
  CBinding6Tuple back;
  back.string(t.string());
  EXPECT_EQ(back, t);
  EXPECT_EQ(CBinding6Tuple().string(), ",unknown,0");
  back.string(" 0a-0b , IA_NA , 12 ");
  EXPECT_EQ(back, tuple("0A-0B", CIAType::iana, 12));
  back.string(",ia_ta,0");  // an empty DUID is a DUID
  EXPECT_EQ(back.string(), ",iata,0");
}

TEST(CBinding6TupleTest, BadFieldsAreRefusedAndLeaveTheTuple) {
  const std::pair<const char*, const char*> cases[] = {
      {"zz,iana,1", "Invalid DUID."},
      {"00-01,na,1", "Invalid IA type."},
      {"00-01,unknown,1", "Invalid IA type."},
      {"00-01,iana,-1", "Invalid IAID."},
      {"00-01,iana,4294967296", "Invalid IAID."},
      {"00-01,iana,", "Invalid IAID."},
      {"00-01,iana", "Invalid IAID."},
      {"00-01", "Invalid IA type."},
  };
  for (const auto& [text, why] : cases) {
    auto t = tuple("01", CIAType::iapd, 9);
    EXPECT_EQ(failureOf([&] { t.string(text); }),
              (Failure{"dhcp_base", "CBinding6Tuple::string", "Cannot set binding tuple from text.",
                       why}))
        << text;
    EXPECT_EQ(t, tuple("01", CIAType::iapd, 9));
  }
}
