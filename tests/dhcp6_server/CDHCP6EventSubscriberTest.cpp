// Pool and policy events renew what a worker thread keeps of those records.
#include "dhcp6_server/CDHCP6EventSubscriber.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "oodb_persistence/CIDatabaseInit.h"
#include "oodb_persistence/CPrstDBSession.h"
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
  CPrstTransaction tx(session());
  auto lan = session().createTransient<CPrstAddressPool6>();
  lan->string(
      "name = lan\nvalid_lt = 3600\nprefix_len = 64\nrangestart = 2001:db8:1::10\n"
      "rangestop = 2001:db8:1::ff\nrelay = ::\ndomains = 2");
  lan->commit();
  tx.commit();
  const std::int32_t oid = lan.pk();
  lan = {};

  EXPECT_EQ(cachedName(oid), "lan");
  rename(oid, "office");
  EXPECT_EQ(cachedName(oid), "lan");  // kept until told
  CDHCP6EventSubscriber subscriber(*tls);
  subscriber.event(std::make_shared<CObjectEvent>(0, "modify", "dhcp_npools6", oid));
  EXPECT_EQ(cachedName(oid), "lan");  // a prefix pool of that number is another pool
  subscriber.event(std::make_shared<CObjectEvent>(0, "modify", "dhcp_apools6", oid));
  EXPECT_EQ(cachedName(oid), "office");
}

NUV_PRST_BACKENDS(SubscriberFixture);
