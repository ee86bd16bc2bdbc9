#include <gtest/gtest.h>

#include "oodb/CExtDomainID.h"
#include "oodb/CPersistentSecuredObject.h"
#include "oodb/CPrstKeyValue.h"
#include "tests/fixtures/CPrstBackendTest.h"
#include "tests/fixtures/FailureOf.h"

using R = CAccessRights;

class CPersistentSecuredObjectTest : public CPrstBackendTest {
 protected:
  void SetUp() override {
    CPrstBackendTest::SetUp();
    if (!session) return;
    session->begin();
    add("global", {CExtDomainID::allDevices});
    add("site5", {5});
    add("both", {5, 7});
    session->commit();
  }
  void add(const std::string& name, CDomainMemberships::Set domains) {
    auto kv = session->createTransient<CPrstKeyValue>();
    kv->name(name);
    kv->domainMemberships(std::move(domains));
    kv->commit();
  }
  std::vector<std::string> visible(const CDeviceAccessToken& token,
                                   std::unique_ptr<CPrstDBSession>& s) {
    auto list = s->select<CPrstKeyValue>(
        "keyvalue.dom", nuv::CStringMap(),
        CPrstSelectOptions().withToken(std::make_shared<CDeviceAccessToken>(token)));
    std::vector<std::string> out;
    for (const auto& kv : list) out.push_back(kv->name());
    return out;
  }
};

TEST_P(CPersistentSecuredObjectTest, DomStatementsReturnWhatTheTokenMaySee) {
  auto s = database->session();
  using V = std::vector<std::string>;
  EXPECT_EQ(visible(CDeviceAccessToken(5, R::read), s), (V{"site5", "both"}));
  EXPECT_EQ(visible(CDeviceAccessToken(7, R::execute), s), V{"both"});
  EXPECT_EQ(visible(CDeviceAccessToken(9, R::read), s), V{});
  EXPECT_EQ(visible(CDeviceAccessToken(), s), V{});

  CDeviceAccessToken device({{CExtDomainID::allDevices, R::execute}, {5, R::read}});
  EXPECT_EQ(visible(device, s), (V{"global", "site5", "both"}));
  device.revokeAccess(CExtDomainID::allDevices);  // the global record disappears
  EXPECT_EQ(visible(device, s), (V{"site5", "both"}));
}

TEST_P(CPersistentSecuredObjectTest, SecuredHandlesNeedReadRight) {
  auto s = database->session();
  auto token = std::make_shared<CDeviceAccessToken>(7, R::execute);
  auto list = s->select<CPrstKeyValue>("keyvalue.dom", nuv::CStringMap(),
                                       CPrstSelectOptions().withToken(token).securedAccess());
  ASSERT_EQ(list.size(), 1u);
  const auto pk = list[0].pk();
  EXPECT_EQ(failureOf([&] { list[0]->name(); }),
            (Failure{"oodb_persistence", "CSecurityStrategy::checkRead",
                     "Unable to read object " + std::to_string(pk) + " of type CPrstKeyValue.",
                     "Access denied."}));
  token->grantAccess(5, R::read);  // read in another domain of the record
  EXPECT_EQ(list[0]->name(), "both");
  // Without secured access the token only filters.
  auto plain = s->select<CPrstKeyValue>(
      "keyvalue.dom", nuv::CStringMap(),
      CPrstSelectOptions().withToken(std::make_shared<CDeviceAccessToken>(7, R::none)));
  EXPECT_EQ(plain[0]->name(), "both");
}

TEST_P(CPersistentSecuredObjectTest, MembershipsAreWrittenAndDeletedWithTheObject) {
  auto s = database->session();
  nuv::CStringMap args;
  args.set("NAME", "both");
  auto kv = s->select<CPrstKeyValue>("keyvalue.name", args)[0];
  EXPECT_EQ(kv->domainMemberships().string(), "5,7");
  s->begin();
  kv->domainMemberships().remove(5);
  kv->commit();
  s->commit();
  EXPECT_EQ(visible(CDeviceAccessToken(5, R::read), s), (std::vector<std::string>{"site5"}));
  s->begin();
  kv->deletePersistent();
  kv->commit();
  s->commit();
  EXPECT_EQ(visible(CDeviceAccessToken(7, R::read), s), std::vector<std::string>{});
  EXPECT_NE(kv->string().find("domains = "), std::string::npos);
}

NUV_PRST_BACKENDS(CPersistentSecuredObjectTest);
