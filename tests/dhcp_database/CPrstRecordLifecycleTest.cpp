// Every record kind through the object layer's life cycle on both engines:
// create, read back in another session, transaction rollback, in-memory
// rollback, refresh, partial commit and delete. Each kind is described by
// how to make one and one attribute to change and read.

#include <gtest/gtest.h>

#include <functional>

#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_database/CPrstPoolMark.h"
#include "tests/dhcp_database/DHCPDatabaseFixture.h"

namespace {

using Obj = nuv::CGeneralPtr<CPrstUserBase>;

struct Kind {
  const char* proto;
  std::function<void(CPrstUserBase&, int)> set;
  std::function<int(const CPrstUserBase&)> get;
};

template <class T, class Set, class Get>
Kind kind(Set set, Get get) {
  return {T::prototypeName(), [set](CPrstUserBase& o, int v) { set(dynamic_cast<T&>(o), v); },
          [get](const CPrstUserBase& o) { return get(dynamic_cast<const T&>(o)); }};
}

nuv::CIPAddress addr(int n) {
  return nuv::CIPAddress("2001:db8::") + static_cast<std::uint64_t>(n);
}

std::vector<Kind> kinds() {
  auto poolName = [](CPrstPool& p, int v) { p.name("pool" + std::to_string(v)); };
  auto poolGet = [](const CPrstPool& p) { return std::stoi(p.name().substr(4)); };
  auto leaseSet = [](CPrstBinding& b, int v) { b.leaseDuration(static_cast<std::uint32_t>(v)); };
  auto leaseGet = [](const CPrstBinding& b) { return static_cast<int>(b.leaseDuration()); };
  auto offerSet = [](CPrstPending& p, int v) { p.offeredAddress(addr(v)); };
  auto offerGet = [](const CPrstPending& p) {
    return static_cast<int>(p.offeredAddress().raw()[15]);
  };
  auto markSet = [](CPrstPoolMark& m, int v) { m.mark(addr(v)); };
  auto markGet = [](const CPrstPoolMark& m) { return static_cast<int>(m.mark().raw()[15]); };
  return {
      kind<CPrstAddressPool6>(poolName, poolGet),
      kind<CPrstNetworkPool6>(poolName, poolGet),
      kind<CPrstAddressBinding6>(leaseSet, leaseGet),
      kind<CPrstNetworkBinding6>(leaseSet, leaseGet),
      kind<CPrstAddressPending6>(offerSet, offerGet),
      kind<CPrstNetworkPending6>(offerSet, offerGet),
      kind<CPrstAPoolMark>(markSet, markGet),
      kind<CPrstNPoolMark>(markSet, markGet),
      kind<CPolicyRecord>([](CPolicyRecord& p, int v) { p.description(std::to_string(v)); },
                          [](const CPolicyRecord& p) { return std::stoi(p.description()); }),
  };
}

}  // namespace

class CPrstRecordLifecycleTest : public DHCPDatabaseTest {};

TEST_P(CPrstRecordLifecycleTest, EveryKindIsStoredRefreshedRolledBackAndDeleted) {
  auto other = openSession();
  for (const Kind& k : kinds()) {
    SCOPED_TRACE(k.proto);
    session->begin();
    Obj o = session->createTransient(k.proto);
    k.set(*o, 1);
    o->commit();
    session->commit();
    const std::int32_t pk = o->pk();
    ASSERT_NE(pk, CPrstSimpleID::kNoPK);
    Obj seen = other->find(k.proto, pk);
    ASSERT_TRUE(seen);
    EXPECT_EQ(k.get(*seen), 1);

    // A rolled-back transaction leaves the row and gives the object back
    // its stored value.
    session->begin();
    k.set(*o, 2);
    o->commit();
    session->rollback();
    EXPECT_EQ(k.get(*o), 1);
    seen->refresh();
    EXPECT_EQ(k.get(*seen), 1);

    // Unsaved changes are discarded in memory.
    k.set(*o, 3);
    EXPECT_TRUE(o->isDirty());
    o->rollback();
    EXPECT_EQ(k.get(*o), 1);
    EXPECT_FALSE(o->isDirty());

    // Another session's commit is seen after a refresh; the refreshed
    // object then updates the new row version without a conflict.
    other->begin();
    k.set(*seen, 4);
    seen->commit();
    other->commit();
    o->refresh();
    EXPECT_EQ(k.get(*o), 4);
    session->begin();
    k.set(*o, 5);
    o->fastPartialCommit();
    session->commit();
    seen->refresh();
    EXPECT_EQ(k.get(*seen), 5);

    session->begin();
    o->deletePersistent();
    o->commit();
    session->commit();
    seen.reset();
    EXPECT_FALSE(other->find(k.proto, pk));
  }
}

TEST_P(CPrstRecordLifecycleTest, LeavesAreFoundByTheirFamilyNeutralNames) {
  const std::pair<const char*, const char*> names[] = {
      {"CPrstAddressPool", "CPrstAddressPool6"},
      {"CPrstNetworkPool", "CPrstNetworkPool6"},
      {"CPrstAddressBinding", "CPrstAddressBinding6"},
      {"CPrstNetworkBinding", "CPrstNetworkBinding6"},
      {"CPrstAddressPending", "CPrstAddressPending6"},
      {"CPrstNetworkPending", "CPrstNetworkPending6"},
  };
  for (const auto& [base, leaf] : names) {
    EXPECT_EQ(session->prototype(base).name(), leaf);
    EXPECT_EQ(session->createTransient(base)->typeName(), leaf);
  }
}

TEST_P(CPrstRecordLifecycleTest, MarksAreSelectedByPool) {
  CPrstTransaction tx(*session);
  for (int pool : {3, 3, 4}) {
    auto m = session->createTransient<CPrstAPoolMark>();
    m->poolOID(pool);
    m->mark(addr(pool));
    m->commit();
  }
  tx.commit();
  EXPECT_EQ(CPrstAPoolMark::selectByPool(*session, 3).size(), 2u);
  EXPECT_EQ(CPrstAPoolMark::selectByPool(*session, 5).size(), 0u);
  // Both kinds share one table.
  EXPECT_EQ(CPrstNPoolMark::selectByPool(*session, 4).size(), 1u);
}

NUV_PRST_BACKENDS(CPrstRecordLifecycleTest);
