#include <gtest/gtest.h>

#include "dhcp_base/COptionStore.h"
#include "dhcp_database/CPolicyFinder.h"
#include "dhcp_database/CPolicyRecord.h"
#include "tests/dhcp_database/DHCPDatabaseFixture.h"

using R = CAccessRights;

class CPolicyFinderTest : public DHCPDatabaseTest {
 protected:
  void add(const std::string& name, CDomainMemberships::Set domains) {
    CPrstTransaction tx(*session);
    auto p = session->createTransient<CPolicyRecord>();
    p->name(name);
    p->domainMemberships(std::move(domains));
    p->commit();
    tx.commit();
  }
  static std::vector<std::string> names(const CPolicyFinder<CPolicyRecord>::List& list) {
    std::vector<std::string> out;
    for (const auto& p : list) out.push_back(p->name());
    return out;
  }
  using V = std::vector<std::string>;
};

TEST_P(CPolicyFinderTest, CreatesBothGlobalPoliciesOnceInTheAllDevicesDomain) {
  CPolicyFinder<CPolicyRecord> finder(*session, &database->controller.logSink);
  EXPECT_TRUE(finder.findGlobalPolicies().empty());
  finder.createGlobalPoliciesIf();
  auto global = finder.findGlobalPolicies();
  EXPECT_EQ(names(global), (V{"Global Enforced", "Global Optional"}));
  EXPECT_TRUE(global[0]->enforce());
  EXPECT_FALSE(global[1]->enforce());
  EXPECT_EQ(global[0]->description(), "Options in this policy are mandatory for every device");
  EXPECT_EQ(global[1]->description(),
            "Options in this policy are provided when requested by any device");
  EXPECT_EQ(global[0]->domainMemberships().string(), "2");

  // Another thread's finder sees them and creates nothing more.
  auto s = openSession();
  CPolicyFinder<CPolicyRecord> second(*s);
  second.createGlobalPoliciesIf();
  EXPECT_EQ(CPolicyRecord::fastSelectRec(*s, "Global Enforced").size(), 1u);
}

TEST_P(CPolicyFinderTest, AGlobalNameOutsideTheAllDevicesDomainIsReportedNotDuplicated) {
  add("Global Enforced", {7});
  CPolicyFinder<CPolicyRecord> finder(*session, &database->controller.logSink);
  finder.createGlobalPoliciesIf();
  EXPECT_TRUE(finder.findGlobalPolicies().empty());
  EXPECT_TRUE(CPolicyRecord::fastSelectRec(*session, "Global Optional").empty());
  EXPECT_EQ(logLines().back(),
            "warning: Global policy 'Global Enforced' or 'Global Optional' has incorrect "
            "permissions.");
}

TEST_P(CPolicyFinderTest, DevicePoliciesNeverIncludeTheGlobalOnes) {
  add("global", {CExtDomainID::allDevices});
  add("site5", {5});
  add("site7", {7});
  add("both", {5, 7, CExtDomainID::allDevices});
  CPolicyFinder<CPolicyRecord> finder(*session);
  EXPECT_EQ(names(finder.findGlobalPolicies()), (V{"global", "both"}));

  CDeviceAccessToken device({{CExtDomainID::allDevices, R::execute}, {5, R::execute}});
  EXPECT_EQ(names(finder.findNonGlobalPolicies(device)), (V{"site5", "both"}));
  device.grantAccess(7, R::execute);
  EXPECT_EQ(names(finder.findNonGlobalPolicies(device)), (V{"site5", "site7", "both"}));
  EXPECT_TRUE(device.hasDomain(CExtDomainID::allDevices));  // the caller's token is untouched
  // Rights only in the all-devices domain: no device policies at all.
  EXPECT_EQ(
      names(finder.findNonGlobalPolicies(CDeviceAccessToken(CExtDomainID::allDevices, R::execute))),
      V{});
  EXPECT_EQ(names(finder.findNonGlobalPolicies(CDeviceAccessToken())), V{});
}

TEST_P(CPolicyFinderTest, GlobalPoliciesAreCachedUntilReset) {
  add("first", {CExtDomainID::allDevices});
  CPolicyFinder<CPolicyRecord> finder(*session);
  EXPECT_EQ(names(finder.findGlobalPolicies()), V{"first"});
  add("second", {CExtDomainID::allDevices});
  EXPECT_EQ(names(finder.findGlobalPolicies()), V{"first"});
  finder.resetGlobalPolicies();
  EXPECT_EQ(names(finder.findGlobalPolicies()), (V{"first", "second"}));
}

TEST_P(CPolicyFinderTest, PolicyOptionsAndTextForm) {
  const std::string kDns = "dns-servers = \"2001:db8::53\", \"2001:db8::54\"\n";
  add("dns", {5});
  auto p = CPolicyRecord::fastSelectRec(*session, "dns")[0];
  {
    CPrstTransaction tx(*session);
    p->string(
        "enforce = true\ndescription = resolvers\n"
        "option = dns-servers = 2001:db8::53, 2001:db8::54\ndomains+ = 6");
    p->commit();
    tx.commit();
  }
  auto s = openSession();
  auto seen = CPolicyRecord::fastSelectRec(*s, std::make_shared<CDeviceAccessToken>(6, R::read));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0]->optionStore().string(), kDns);
  EXPECT_EQ(seen[0]->optionStore().instanceName(), "policy-options");
  EXPECT_TRUE(seen[0]->enforce());
  const nuv::CStringMap map = seen[0]->stringMap();
  EXPECT_EQ(map.get("domains"), "5,6");
  EXPECT_EQ(map.get("oid"), std::to_string(seen[0]->identity()));
  EXPECT_EQ(map.get("options"), kDns);
  // An unknown option name refuses the text and changes nothing.
  EXPECT_THROW(seen[0]->string("option = no-such-option = 1"), nuv::CException);
  EXPECT_FALSE(seen[0]->isDirty());
  // Changing the set in place marks it for writing.
  {
    CPrstTransaction tx(*s);
    seen[0]->mutableOptionStore().erase(CTagPath{23});
    seen[0]->commit();
    tx.commit();
  }
  p->refresh();
  EXPECT_EQ(p->optionStore().string(), "");
}

NUV_PRST_BACKENDS(CPolicyFinderTest);
