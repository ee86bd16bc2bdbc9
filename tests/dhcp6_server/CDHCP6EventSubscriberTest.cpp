// Pool and policy events renew what a worker thread keeps of those records.
#include "dhcp6_server/CDHCP6EventSubscriber.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "oodb_persistence/CIDatabaseInit.h"
#include "oodb_persistence/CPrstDBSession.h"
#include "plugins/system_bus/CSystemBus.h"
#include "tests/dhcp6_server/ServedExchangeFixture.h"

using namespace served;

namespace {

struct SubscriberFixture : ServedExchangeFixture {
  void morePlugins() override {
    host.mutableConfig().set("ipv6.dhcpv6.engine.pool_cache_size", "10");
  }
  // The pool's name as the thread's finder gives it.
  std::string cachedName(std::int32_t oid) {
    tls->startTransaction();
    const auto pool = tls->apoolFinder().findPool(
        "[t]", oid,
        std::make_shared<const CDeviceAccessToken>(CExtDomainID::allDevices, CAccessRights::read));
    tls->commitTransaction();
    return pool ? pool->name() : "<none>";
  }
  std::int32_t addPool(const std::string& name, const std::string& start, const std::string& stop) {
    return store<CPrstAddressPool6>("name = " + name +
                                    "\nvalid_lt = 3600\nprefix_len = 64\nrangestart = " + start +
                                    "\nrangestop = " + stop + "\nrelay = ::\ndomains = 2");
  }
  // Another connection renames the pool, as the admin tool does.
  void rename(std::int32_t oid, const std::string& name) {
    CPrstDHCP6ObjectAbstractFactory factory(&tls->context());
    auto other = CIDatabaseInit::find(host).openSession({&factory});
    CPrstTransaction tx(*other);
    auto pool = other->findPK<CPrstAddressPool6>(oid);
    pool->name(name);
    pool->commit();
    tx.commit();
  }
};

}  // namespace

TEST_P(SubscriberFixture, APoolEventReloadsThatPoolOnly) {
  const std::int32_t oid = addPool("lan", "2001:db8:1::10", "2001:db8:1::ff");
  EXPECT_EQ(cachedName(oid), "lan");
  rename(oid, "office");
  EXPECT_EQ(cachedName(oid), "lan");  // kept until told
  CDHCP6EventSubscriber subscriber(*tls);
  subscriber.event(std::make_shared<CObjectEvent>(0, "modify", "dhcp_npools6", oid));
  EXPECT_EQ(cachedName(oid), "lan");  // a prefix pool of that number is another pool
  subscriber.event(std::make_shared<CObjectEvent>(0, "modify", "dhcp_apools6", oid));
  EXPECT_EQ(cachedName(oid), "office");
}

TEST_P(SubscriberFixture, BurstOfChangesReachesTheThreadAsOneRereadOfEachKind) {
  const std::int32_t lan = addPool("lan", "2001:db8:1::10", "2001:db8:1::ff");
  const std::int32_t wan = addPool("wan", "2001:db8:2::10", "2001:db8:2::ff");
  EXPECT_EQ(cachedName(lan), "lan");
  EXPECT_EQ(cachedName(wan), "wan");
  rename(lan, "office");
  rename(wan, "uplink");

  CSystemBus bus;
  CDHCP6EventSubscriber subscriber(*tls);
  std::vector<std::function<void()>> queued;  // the thread's mailbox
  bus.subscribe(&subscriber, CDHCP6EventSubscriber::eventClasses(),
                [&](std::function<void()> work) { queued.push_back(std::move(work)); });
  for (int i = 0; i < 5000; ++i) {
    bus.publish(std::make_shared<CObjectEvent>(0, "modify", "dhcp_apools6", i % 2 ? lan : wan), 0);
    bus.publish(std::make_shared<CObjectEvent>(0, "modify", "dhcp_policies6", i), 0);
  }
  // One job for the thread instead of 10,000 ...
  ASSERT_EQ(queued.size(), 1u);
  queued.front()();
  // ... and no change is lost.
  EXPECT_EQ(cachedName(lan), "office");
  EXPECT_EQ(cachedName(wan), "uplink");
  bus.unsubscribe(&subscriber);
}

TEST(CDHCP6EventSubscriberMerge, TwoPoolsMergeIntoAllOthersIntoTheLater) {
  const auto pool = [](const char* cls, long oid) {
    return std::make_shared<const CObjectEvent>(0, "modify", cls, oid);
  };
  const auto mode = [](const char* name) { return std::make_shared<const CModeEvent>(0, name); };
  struct Case {
    std::shared_ptr<const CAppEvent> waiting, later;
    std::string instance;  // of the merged event; empty: every pool
  };
  const Case cases[] = {
      {pool("dhcp_apools6", 4), pool("dhcp_apools6", 4), "4"},
      {pool("dhcp_apools6", 4), pool("dhcp_apools6", 5), ""},
      {pool("dhcp_npools6", 4), pool("dhcp_npools6", 5), ""},
      {pool("dhcp_policies6", 4), pool("dhcp_policies6", 5), "5"},
      {mode("paused"), mode("servicing"), "servicing"},
  };
  for (const Case& c : cases) {
    const auto merged = CDHCP6EventSubscriber::mergeEvents(c.waiting, c.later);
    EXPECT_EQ(merged->evtClass, c.later->evtClass);
    EXPECT_EQ(merged->evtInstance, c.instance)
        << c.later->evtClass << " " << c.waiting->evtInstance;
  }
}

NUV_PRST_BACKENDS(SubscriberFixture);
