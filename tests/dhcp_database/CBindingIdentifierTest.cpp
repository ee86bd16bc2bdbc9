#include <gtest/gtest.h>

#include "dhcp_database/CBinding6Identifier.h"
#include "oodb/CPrstException.h"
#include "tests/fixtures/FailureOf.h"

namespace {

// A key of another kind, as the DHCPv4 key is to the DHCPv6 one.
class COtherIdentifier : public CBindingIdentifier {
 public:
  std::string string() const override { return "other"; }
  std::unique_ptr<CBindingIdentifier> clone() const override {
    return std::make_unique<COtherIdentifier>();
  }
  void clear() override {}
  void setArgs(const CPrstBinding&, nuv::CStringMap&) const override {}
  void setArgs(const CPrstPending&, nuv::CStringMap&) const override {}
  void applyBindingID(CPrstBinding&) const override {}
  void applyBindingID(CPrstPending&) const override {}
  void cacheUpdate(const CPrstBinding&) override {}
  void cacheUpdate(const CPrstPending&) override {}
};

CBinding6Identifier key(std::uint32_t iaid) {
  return CBinding6Identifier(nuv::CHexStore::parse("00-01"), CIAType::iana, iaid);
}

}  // namespace

TEST(CBindingIdentifierTest, KeysOfOneKindCompareAndAssignThroughTheBase) {
  const CBinding6Identifier a = key(1), b = key(4294967295u);
  const CBindingIdentifier &ra = a, &rb = b;
  EXPECT_TRUE(ra < rb);
  EXPECT_FALSE(rb < ra);
  EXPECT_TRUE(ra == key(1));
  EXPECT_TRUE(ra != rb);
  CBinding6Identifier c;
  static_cast<CBindingIdentifier&>(c) = rb;
  EXPECT_EQ(c.tuple(), b.tuple());
  auto copy = ra.clone();
  EXPECT_TRUE(*copy == ra);
  copy->clear();
  EXPECT_EQ(copy->string(), ",unknown,0");
}

TEST(CBindingIdentifierTest, KeysOfDifferentKindsFailWithTheirTexts) {
  const CBinding6Identifier six = key(7);
  const COtherIdentifier other;
  const std::string s = six.string();
  EXPECT_EQ(failureOf([&] { (void)(six < other); }).what,
            "Cannot test if binding identifier " + s + " is less than other.");
  EXPECT_EQ(failureOf([&] { (void)(other < six); }).what,
            "Cannot test if binding identifier other is less than " + s + ".");
  const Failure eq = failureOf([&] { (void)(six == other); });
  EXPECT_EQ(eq.what, "Cannot test if binding identifier " + s + " is equal to other.");
  EXPECT_EQ(eq.why, "Type mismatch.");
  EXPECT_EQ(eq.module, "dhcp_database");
  CBinding6Identifier target = six;
  EXPECT_EQ(failureOf([&] { static_cast<CBindingIdentifier&>(target) = other; }).what,
            "Cannot assign binding identifier other to instance " + s + ".");
  EXPECT_EQ(target.tuple(), six.tuple());
  EXPECT_THROW((void)(six == other), CPrstException);  // a persistence failure
}

TEST(CBindingIdentifierTest, StatementArgumentsPrintNumbersSigned) {
  nuv::CStringMap args;
  CBinding6Identifier(nuv::CHexStore::parse("0a-0b-0c"), CIAType::iapd, 4294967295u).args(args);
  EXPECT_EQ(args.get("CLIENT_ID"), "0A-0B-0C");
  EXPECT_EQ(args.get("IATYPE"), "2");
  EXPECT_EQ(args.get("IAID"), "-1");
}
