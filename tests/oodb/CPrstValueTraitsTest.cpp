#include <gtest/gtest.h>

#include "oodb/CPrstValueTraits.h"
#include "tests/fixtures/FailureOf.h"

TEST(CPrstValueTraitsTest, StatementArgumentsTakeTheStoredForm) {
  struct Case {
    CDBType type;
    const char* text;
    CDBValue stored;
  } cases[] = {
      // An IAID of all bits set is passed as "-1" and must find the stored value.
      {CDBType::uint32, "-1", CDBValue::ofInt(4294967295LL)},
      {CDBType::uint32, "4294967295", CDBValue::ofInt(4294967295LL)},
      {CDBType::int32, "-1", CDBValue::ofInt(-1)},
      {CDBType::boolean, "true", CDBValue::ofInt(1)},
      {CDBType::ipAddress, "2001:DB8::1",
       CDBValue::ofText("2001:0db8:0000:0000:0000:0000:0000:0001")},
      {CDBType::hexStore, "00-01-0a", CDBValue::ofText("00-01-0A")},
      {CDBType::timeStamp, "1970-01-01 00:01:40", CDBValue::ofInt(100)},
      {CDBType::domainGroupID, "2,5", CDBValue::ofText("2,5")},
  };
  for (const auto& c : cases) EXPECT_EQ(dbValueFromText(c.type, c.text), c.stored) << c.text;
  EXPECT_EQ(failureOf([] { dbValueFromText(CDBType::uint32, "4294967296"); }).what,
            "Cannot read '4294967296' as an unsigned integer.");
  EXPECT_EQ(failureOf([] { dbValueFromText(CDBType::ipAddress, "nonsense"); }).module,
            "oodb_persistence");
}

TEST(CPrstValueTraitsTest, ValuesRoundTrip) {
  using IP = CPrstValueTraits<nuv::CIPAddress>;
  EXPECT_EQ(IP::fromDB(IP::toDB(nuv::CIPAddress("fe80::1"))), nuv::CIPAddress("fe80::1"));
  EXPECT_TRUE(IP::toDB(nuv::CIPAddress()).isNull());
  EXPECT_FALSE(IP::fromDB(CDBValue()).isValid());
  using U64 = CPrstValueTraits<std::uint64_t>;
  EXPECT_EQ(U64::fromDB(U64::toDB(UINT64_MAX)), UINT64_MAX);
  // Drivers that deliver text (PostgreSQL) are read the same way.
  EXPECT_EQ(CPrstValueTraits<std::uint32_t>::fromDB(CDBValue::ofText("4294967295")), 4294967295u);
  EXPECT_TRUE(CPrstValueTraits<bool>::fromDB(CDBValue::ofText("1")));
  EXPECT_EQ(dbTypeToken(CDBType::cobject), std::string("[__DB_TYPE_COBJECT__]"));
  EXPECT_EQ(dbTypeFromToken("[__DB_TYPE_TIME_STAMP__]"), CDBType::timeStamp);
  EXPECT_EQ(dbTypeSqlName(CDBType::textBlob), std::string("BLOB sub_type 1 segment size 1"));
  EXPECT_EQ(dbTypeSqlName(CDBType::ipAddress), std::string("UNKNOWN SQL TYPE"));
}
