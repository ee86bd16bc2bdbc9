#include <gtest/gtest.h>

#include "oodb/CPrstLinkAttr.h"
#include "tests/fixtures/CPrstBackendTest.h"
#include "tests/fixtures/FailureOf.h"

class CPrstLinkAttrTest : public CPrstBackendTest {
 protected:
  CPrstUserClassPtr<CPrstIPAddress> address(const char* text) {
    auto a = session->createTransient<CPrstIPAddress>();
    a->address(nuv::CIPAddress(text));
    return a;
  }
  // The record as a new session reads it.
  CPrstUserClassPtr<CTestRecord> reread(std::unique_ptr<CPrstDBSession>& fresh) {
    fresh = database->session();
    nuv::CStringMap args;
    args.set("NAME", "links");
    return fresh->select<CTestRecord>("test.name", args)[0];
  }
  std::vector<std::string> relays(const CTestRecord& r) {
    std::vector<std::string> out;
    for (const auto& p : r.relays.items()) out.push_back(p->address().string());
    return out;
  }
  std::int64_t addresses() {
    return session->selectCount("test.count_addresses", nuv::CStringMap());
  }
};

TEST_P(CPrstLinkAttrTest, ValuesOwnedObjectAndDerivedValueRoundTrip) {
  session->begin();
  auto r = session->createTransient<CTestRecord>();
  r->name = "links";
  r->counter = 4294967295u;
  r->addr = nuv::CIPAddress("2001:db8::7");
  r->duid = nuv::CHexStore::parse("00-01-AB");
  r->stamp = nuv::CTimeT(1000);
  r->flag = true;
  r->payload.mutableGet() = {"text with = and ,", 42};
  r->commit();
  session->commit();

  std::unique_ptr<CPrstDBSession> fresh;
  auto back = reread(fresh);
  EXPECT_EQ(back->counter.get(), 4294967295u);
  EXPECT_EQ(back->addr.get(), nuv::CIPAddress("2001:db8::7"));
  EXPECT_EQ(back->duid.get().string(), "00-01-AB");
  EXPECT_EQ(back->stamp.get(), nuv::CTimeT(1000));
  EXPECT_TRUE(back->flag.get());
  EXPECT_EQ(back->payload.get().text, "text with = and ,");
  EXPECT_EQ(back->payload.get().n, 42);
  EXPECT_EQ(back->expires.get(), nuv::CTimeT(1000 + 4294967295LL));
  EXPECT_FALSE(back->expires.stored());
  EXPECT_EQ(failureOf([&] { back->expires.setText("1"); }).what, "Cannot set attribute 'EXPIRES'.");
  EXPECT_NE(back->string().find("addr = 2001:db8::7\n"), std::string::npos);
}

TEST_P(CPrstLinkAttrTest, OrderedLinkKeepsItsOrder) {
  session->begin();
  auto r = session->createTransient<CTestRecord>();
  r->name = "links";
  r->relays.add(address("2001:db8::3"));
  r->relays.add(address("2001:db8::1"));
  r->relays.add(address("2001:db8::2"));
  r->commit();
  session->commit();

  std::unique_ptr<CPrstDBSession> fresh;
  auto back = reread(fresh);
  EXPECT_EQ(relays(*back), (std::vector<std::string>{"2001:db8::3", "2001:db8::1", "2001:db8::2"}));

  fresh->begin();
  back->relays.erase(0);  // an owned target leaves the link and the database
  back->relays.insert(
      1, CPrstUserClassPtr<CPrstIPAddress>(
             std::dynamic_pointer_cast<CPrstIPAddress>(fresh->createTransient("CPrstIPAddress"))));
  back->relays.at(1)->address(nuv::CIPAddress("2001:db8::9"));
  back->commit();
  fresh->commit();
  EXPECT_EQ(addresses(), 3);

  std::unique_ptr<CPrstDBSession> third;
  EXPECT_EQ(relays(*reread(third)),
            (std::vector<std::string>{"2001:db8::1", "2001:db8::9", "2001:db8::2"}));
  EXPECT_EQ(failureOf([&] { back->relays.at(3); }).why, "Index out of range.");
}

TEST_P(CPrstLinkAttrTest, ReferenceAndUnorderedLinkAreOwned) {
  session->begin();
  auto r = session->createTransient<CTestRecord>();
  r->name = "links";
  r->home.set(address("2001:db8::100"));
  r->extras.add(address("2001:db8::a"));
  r->extras.add(address("2001:db8::b"));
  r->commit();
  session->commit();
  EXPECT_EQ(addresses(), 3);

  std::unique_ptr<CPrstDBSession> fresh;
  auto back = reread(fresh);
  EXPECT_EQ(back->home->address(), nuv::CIPAddress("2001:db8::100"));
  ASSERT_EQ(back->extras.size(), 2u);
  fresh->begin();
  EXPECT_TRUE(back->extras.remove(back->extras.items()[0].pk()));
  back->home.set(CPrstUserClassPtr<CPrstIPAddress>(
      std::dynamic_pointer_cast<CPrstIPAddress>(fresh->createTransient("CPrstIPAddress"))));
  back->commit();  // the replaced home and the removed extra go
  fresh->commit();
  EXPECT_EQ(addresses(), 2);

  fresh->begin();
  back->deletePersistent();
  back->commit();
  fresh->commit();
  EXPECT_EQ(addresses(), 0);
  EXPECT_EQ(session->selectCount("test.count_links", nuv::CStringMap()), 0);
}

TEST_P(CPrstLinkAttrTest, RolledBackLinkWritesLeaveTheStoredLink) {
  session->begin();
  auto r = session->createTransient<CTestRecord>();
  r->name = "links";
  r->relays.add(address("2001:db8::1"));
  r->commit();
  session->commit();

  session->begin();
  r->relays.add(address("2001:db8::2"));
  r->commit();
  session->rollback();
  EXPECT_EQ(relays(*r), std::vector<std::string>{"2001:db8::1"});
  std::unique_ptr<CPrstDBSession> fresh;
  EXPECT_EQ(relays(*reread(fresh)), std::vector<std::string>{"2001:db8::1"});
  EXPECT_EQ(addresses(), 1);
}

NUV_PRST_BACKENDS(CPrstLinkAttrTest);
