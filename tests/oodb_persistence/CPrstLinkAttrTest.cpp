#include <gtest/gtest.h>

#include <functional>

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
  // The record "links", filled and stored in a transaction of its own.
  CPrstUserClassPtr<CTestRecord> stored(const std::function<void(CTestRecord&)>& fill) {
    session->begin();
    auto r = session->createTransient<CTestRecord>();
    r->name = "links";
    fill(*r);
    r->commit();
    session->commit();
    return r;
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
  stored([&](CTestRecord& rec) {
    rec.counter = 4294967295u;
    rec.addr = nuv::CIPAddress("2001:db8::7");
    rec.duid = nuv::CHexStore::parse("00-01-AB");
    rec.stamp = nuv::CTimeT(1000);
    rec.flag = true;
    rec.payload.mutableGet() = {"text with = and ,", 42};
  });

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
  stored([&](CTestRecord& rec) {
    rec.relays.add(address("2001:db8::3"));
    rec.relays.add(address("2001:db8::1"));
    rec.relays.add(address("2001:db8::2"));
  });

  std::unique_ptr<CPrstDBSession> fresh;
  auto back = reread(fresh);
  EXPECT_EQ(relays(*back), (std::vector<std::string>{"2001:db8::3", "2001:db8::1", "2001:db8::2"}));

  fresh->begin();
  back->relays.erase(0);  // an owned target leaves the link and the database
  back->relays.insert(1, fresh->createTransient<CPrstIPAddress>());
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
  stored([&](CTestRecord& rec) {
    rec.home.set(address("2001:db8::100"));
    rec.extras.add(address("2001:db8::a"));
    rec.extras.add(address("2001:db8::b"));
  });
  EXPECT_EQ(addresses(), 3);

  std::unique_ptr<CPrstDBSession> fresh;
  auto back = reread(fresh);
  EXPECT_EQ(back->home->address(), nuv::CIPAddress("2001:db8::100"));
  ASSERT_EQ(back->extras.size(), 2u);
  fresh->begin();
  EXPECT_TRUE(back->extras.remove(back->extras.items()[0].pk()));
  back->home.set(fresh->createTransient<CPrstIPAddress>());
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
  auto r = stored([&](CTestRecord& rec) { rec.relays.add(address("2001:db8::1")); });

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
