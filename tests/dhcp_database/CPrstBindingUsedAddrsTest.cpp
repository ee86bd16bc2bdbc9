// The addresses and prefixes in use in a range, read through the column
// ADDR_KEY that bindings and pendings write with their address, and the
// unique key on that column.
#include <gtest/gtest.h>

#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstBindingUsedAddrs.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "tests/dhcp_database/DHCPDatabaseFixture.h"

using A = nuv::CIPAddress;
using Used = CPrstBindingUsedAddrs;

namespace {

std::uint32_t nextIaid = 1;

std::vector<std::string> texts(const std::vector<A>& addresses) {
  std::vector<std::string> out;
  for (const auto& a : addresses) out.push_back(a.string());
  return out;
}

}  // namespace

class CPrstBindingUsedAddrsTest : public DHCPDatabaseTest {
 protected:
  // A new lease or offer of the address: false
  // when the address is taken in that table.
  template <class Record>
  bool add(const char* address) {
    auto r = session->createTransient<Record>();
    r->applyBindingID(
        CBinding6Identifier(nuv::CHexStore::parse("00-01"), CIAType::iana, nextIaid++));
    if constexpr (std::is_base_of_v<CPrstBinding, Record>) {
      r->ipAddr(A(address));
      r->ipRelay(A("::"));
    } else {
      r->offeredAddress(A(address));
      r->relayAddress(A("::"));
      r->offerTime(nuv::CTimeT::now());
    }
    return r->commitUnique();
  }
  std::vector<std::string> used(Used::Kind kind, const char* from, const char* to,
                                std::size_t rows = 50) {
    return texts(Used::inRange(*session, kind, A(from), A(to), rows));
  }
  std::string highest(Used::Kind kind, const char* from, const char* to) {
    return Used::highest(*session, kind, A(from), A(to)).string();
  }
};

TEST_P(CPrstBindingUsedAddrsTest, EachAddressIsLeasedAndOfferedOncePerTable) {
  CPrstTransaction tx(*session);
  EXPECT_TRUE(add<CPrstAddressBinding6>("2001:db8::10"));
  EXPECT_FALSE(add<CPrstAddressBinding6>("2001:db8::10"));
  EXPECT_TRUE(add<CPrstAddressPending6>("2001:db8::10"));  // the offer a Request claims
  EXPECT_FALSE(add<CPrstAddressPending6>("2001:db8::10"));
  EXPECT_TRUE(add<CPrstNetworkBinding6>("2001:db8::10"));  // prefixes are counted apart
  EXPECT_TRUE(add<CPrstNetworkPending6>("2001:db8::10"));
  EXPECT_FALSE(add<CPrstNetworkPending6>("2001:db8::10"));
  // The refusals left the transaction usable.
  EXPECT_TRUE(add<CPrstAddressBinding6>("2001:db8::11"));
  tx.commit();
  EXPECT_EQ(used(Used::addresses, "::", "ffff::"),
            (std::vector<std::string>{"2001:db8::10", "2001:db8::11"}));
  EXPECT_EQ(used(Used::prefixes, "::", "ffff::"), (std::vector<std::string>{"2001:db8::10"}));
}

TEST_P(CPrstBindingUsedAddrsTest, UsedAddressesOfARangeInAddressOrder) {
  {
    CPrstTransaction tx(*session);
    for (const char* a : {"2001:db8::10", "2001:db8::9", "2001:db8::1:0", "2001:db8::ff"})
      add<CPrstAddressBinding6>(a);
    for (const char* a : {"2001:db8::a", "2001:db8::8", "2001:db8::2:0"})
      add<CPrstAddressPending6>(a);
    add<CPrstNetworkBinding6>("2001:db8::c");
    tx.commit();
  }
  struct Case {
    const char* from;
    const char* to;
    std::size_t rows;
    std::vector<std::string> used;
  } cases[] = {
      {"2001:db8::",
       "2001:db8::ffff",
       50,
       {"2001:db8::8", "2001:db8::9", "2001:db8::a", "2001:db8::10", "2001:db8::ff"}},
      {"2001:db8::9", "2001:db8::10", 50, {"2001:db8::9", "2001:db8::a", "2001:db8::10"}},
      {"2001:db8::", "2001:db8::ffff", 2, {"2001:db8::8", "2001:db8::9"}},
      {"2001:db8::b", "2001:db8::f", 50, {}},
      {"2001:db8::",
       "2001:db8::ffff:ffff:ffff",
       50,
       {"2001:db8::8", "2001:db8::9", "2001:db8::a", "2001:db8::10", "2001:db8::ff",
        "2001:db8::1:0", "2001:db8::2:0"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(used(Used::addresses, c.from, c.to, c.rows), c.used) << c.from << " " << c.to;
  EXPECT_EQ(used(Used::prefixes, "2001:db8::", "2001:db8::ffff"),
            (std::vector<std::string>{"2001:db8::c"}));

  EXPECT_EQ(highest(Used::addresses, "2001:db8::", "2001:db8::ffff"), "2001:db8::ff");
  EXPECT_EQ(highest(Used::addresses, "2001:db8::", "2001:db8::fe"), "2001:db8::10");
  EXPECT_EQ(highest(Used::addresses, "2001:db8::", "2001:db8::ffff:ffff:ffff"), "2001:db8::2:0");
  EXPECT_EQ(highest(Used::addresses, "2001:db8::b", "2001:db8::f"), "");
  EXPECT_EQ(highest(Used::prefixes, "2001:db8::", "2001:db8::ffff"), "2001:db8::c");
}

TEST_P(CPrstBindingUsedAddrsTest, TheKeyFollowsTheAddress) {
  CPrstTransaction tx(*session);
  auto lease = session->createTransient<CPrstAddressBinding6>();
  lease->applyBindingID(CBinding6Identifier(nuv::CHexStore::parse("00-01"), CIAType::iana, 1));
  lease->ipAddr(A("2001:db8::1"));
  lease->ipRelay(A("::"));
  lease->commit();
  lease->ipAddr(A("2001:db8::2"));
  lease->commit();
  EXPECT_EQ(used(Used::addresses, "::", "ffff::"), (std::vector<std::string>{"2001:db8::2"}));
  // The address is free again once its lease is gone.
  EXPECT_TRUE(add<CPrstAddressBinding6>("2001:db8::1"));
  lease->deletePersistent();
  lease->commit();
  EXPECT_TRUE(add<CPrstAddressBinding6>("2001:db8::2"));
  tx.commit();
  // Internal: the text form does not show it.
  EXPECT_EQ(lease->string().find("addr_key"), std::string::npos);
  EXPECT_EQ(lease->string().find("20010db8"), std::string::npos);
}

NUV_PRST_BACKENDS(CPrstBindingUsedAddrsTest);
