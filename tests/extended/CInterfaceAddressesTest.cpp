// The receiving interface's addresses clients are numbered from, and how
// often the system's list is read for them.
#include <gtest/gtest.h>

#include "extended/CInterfaceAddresses.h"

namespace {

CInterfaceEnum::Detail interface(unsigned index, std::initializer_list<const char*> addresses) {
  CInterfaceEnum::Detail d;
  d.index = index;
  for (const char* a : addresses) d.addresses.push_back(nuv::CIPAddress(a));
  return d;
}

std::vector<std::string> texts(const CInterfaceAddresses::Addresses& addresses) {
  std::vector<std::string> out;
  for (const nuv::CIPAddress& a : addresses) out.push_back(a.string());
  return out;
}

}  // namespace

TEST(CInterfaceAddressesTest, OnlyAddressesClientsCanBeNumberedFromCount) {
  CInterfaceAddresses table([] {
    return std::vector<CInterfaceEnum::Detail>{
        interface(1, {"::1"}),
        interface(2, {"fe80::1", "2001:db8:1::1", "ff02::1:2", "fd00::1", "2001:db8:2::1"})};
  });
  EXPECT_TRUE(table.find(1)->empty());
  EXPECT_EQ(texts(*table.find(2)),
            (std::vector<std::string>{"2001:db8:1::1", "fd00::1", "2001:db8:2::1"}));
  EXPECT_TRUE(table.find(9)->empty());
}

TEST(CInterfaceAddressesTest, TheListIsReadOnceNotPerDatagram) {
  int reads = 0;
  CInterfaceAddresses table([&reads] {
    ++reads;
    return std::vector<CInterfaceEnum::Detail>{interface(2, {"2001:db8:1::1"})};
  });
  for (int i = 0; i < 100; ++i) table.find(2);
  EXPECT_EQ(reads, 1);
  // An unknown index may mean a new interface, but is not looked for
  // again within the same second.
  for (int i = 0; i < 100; ++i) table.find(5);
  EXPECT_LE(reads, 3);
  // A handle stays valid when the table is read again.
  const auto held = table.find(2);
  table.lister([] { return std::vector<CInterfaceEnum::Detail>{}; });
  EXPECT_TRUE(table.find(2)->empty());
  EXPECT_EQ(texts(*held), std::vector<std::string>{"2001:db8:1::1"});
}
