#include <gtest/gtest.h>
#include <net/if.h>
#include <net/if_arp.h>

#include <algorithm>

#include "extended/CInterfaceEnum.h"
#include "tests/fixtures/FailureOf.h"
#include "tests/netns/CNetNamespace.h"

namespace {

const CInterfaceEnum::Detail* byName(const std::vector<CInterfaceEnum::Detail>& list,
                                     const std::string& name) {
  auto it = std::find_if(list.begin(), list.end(), [&](const auto& d) { return d.name == name; });
  return it == list.end() ? nullptr : &*it;
}

bool has(const CInterfaceEnum::Detail& d, const char* address) {
  return std::count(d.addresses.begin(), d.addresses.end(), nuv::CIPAddress(address)) == 1;
}

TEST(CInterfaceEnum, ListsTheInterfacesOfAFamilyWithTheirAddresses) {
  NETNS_REQUIRED();
  const auto v6 = CInterfaceEnum::find(6);
  ASSERT_EQ(3u, v6.size());
  const auto* veth = byName(v6, "nsv0");
  const auto* lo = byName(v6, "lo");
  ASSERT_TRUE(veth && lo);
  EXPECT_TRUE(has(*veth, "fd00::1"));
  EXPECT_FALSE(has(*veth, "fd00::2"));
  EXPECT_EQ(if_nametoindex("nsv0"), veth->index);
  EXPECT_EQ(ARPHRD_ETHER, veth->hardwareType);
  EXPECT_TRUE(veth->isMulticast());
  EXPECT_FALSE(veth->isLoopback());
  EXPECT_TRUE(lo->isLoopback());
  EXPECT_TRUE(has(*lo, "::1"));

  // The veth pair has no IPv4 address.
  const auto v4 = CInterfaceEnum::find(4);
  ASSERT_EQ(1u, v4.size());
  EXPECT_TRUE(has(v4[0], "127.0.0.1"));
}

TEST(CInterfaceEnum, IndexByName) {
  NETNS_REQUIRED();
  EXPECT_EQ(if_nametoindex("nsv1"), CInterfaceEnum::indexByName("nsv1", 6));
  const struct {
    const char* name;
    unsigned family;
  } missing[] = {{"nosuch0", 6}, {"nsv1", 4}};
  for (const auto& m : missing) {
    EXPECT_EQ((Failure{"extended", "CInterfaceEnum::indexByName",
                       "Cannot find interface index for '" + std::string(m.name) +
                           "' in protocol family " + std::to_string(m.family) + ".",
                       "Interface does not exist."}),
              failureOf([&] { CInterfaceEnum::indexByName(m.name, m.family); }));
  }
}

}  // namespace
