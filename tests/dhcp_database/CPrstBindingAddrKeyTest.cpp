// The sortable key of a lease's address: fixed width, so that text order
// is address order where the address's own text form is not.
#include <gtest/gtest.h>

#include "dhcp_database/CPrstBindingAddrKey.h"

using A = nuv::CIPAddress;

TEST(CPrstBindingAddrKeyTest, ThirtyTwoLowerCaseHexDigitsOfTheIPv6Address) {
  struct Case {
    A address;
    const char* key;
  } cases[] = {
      {A("::"), "00000000000000000000000000000000"},
      {A("2001:db8::1"), "20010db8000000000000000000000001"},
      {A("2001:DB8:0:100::"), "20010db8000001000000000000000000"},
      {A("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"), "ffffffffffffffffffffffffffffffff"},
      {A("10.0.0.1"), "00000000000000000000ffff0a000001"},  // as IPv4-mapped
      {A(), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CPrstBindingAddrKey::of(c.address), c.key) << c.address.string();
    if (c.address.type() == A::ipv6) {
      EXPECT_EQ(CPrstBindingAddrKey::address(c.key), c.address) << c.key;
    }
  }
  for (const char* bad : {"", "20010db800000000000000000000001", "20010DB8000000000000000000000001",
                          "20010db80000000000000000000000g1", "20010db80000000000000000000000001"})
    EXPECT_FALSE(CPrstBindingAddrKey::address(bad).isValid()) << bad;
}

TEST(CPrstBindingAddrKeyTest, KeyOrderIsAddressOrder) {
  // In text form "2001:db8::10" sorts before "2001:db8::9".
  const A ordered[] = {A("::"),           A("2001:db8::9"),     A("2001:db8::a"),
                       A("2001:db8::10"), A("2001:db8::1:0"),   A("2001:db8:1::"),
                       A("fe80::1"),      A("ffff::ffff:0:0:1")};
  for (std::size_t i = 1; i < std::size(ordered); ++i)
    EXPECT_LT(CPrstBindingAddrKey::of(ordered[i - 1]), CPrstBindingAddrKey::of(ordered[i]))
        << ordered[i].string();
}
