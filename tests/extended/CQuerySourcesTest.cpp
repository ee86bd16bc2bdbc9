// Which sources a status query is answered to.
#include <gtest/gtest.h>

#include "extended/CInterfaceAddresses.h"
#include "extended/CQuerySources.h"
#include "standard/CException.h"
#include "tests/fixtures/FailureOf.h"

namespace {

CInterfaceAddresses ownAddresses() {
  return CInterfaceAddresses([] {
    CInterfaceEnum::Detail d;
    d.index = 2;
    d.addresses = {nuv::CIPAddress("fe80::1"), nuv::CIPAddress("2001:db8:5::1")};
    return std::vector<CInterfaceEnum::Detail>{d};
  });
}

}  // namespace

TEST(CQuerySourcesTest, SourcesByList) {
  CInterfaceAddresses own = ownAddresses();
  const struct {
    const char* list;
    const char* source;
    bool allowed;
  } cases[] = {
      // Empty: this host only.
      {"", "::1", true},
      {"", "2001:db8:5::1", true},
      {"", "fe80::1", true},
      {"", "2001:db8:5::2", false},
      {"", "::ffff:127.0.0.1", true},
      // A list: exactly what it names, whatever the host's own addresses.
      {"2001:db8:9::7, 2001:db8:1::/64", "2001:db8:9::7", true},
      {"2001:db8:9::7, 2001:db8:1::/64", "2001:db8:9::8", false},
      {"2001:db8:9::7, 2001:db8:1::/64", "2001:db8:1::ffff", true},
      {"2001:db8:9::7, 2001:db8:1::/64", "2001:db8:1:1::1", false},
      {"2001:db8:9::7", "::1", false},
      {"::/0", "2001:db8:77::1", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CQuerySources(c.list).allows(nuv::CIPAddress(c.source), own), c.allowed)
        << "'" << c.list << "' " << c.source;
}

TEST(CQuerySourcesTest, ABadItemIsRefusedWithTheList) {
  for (const char* bad : {"2001:db8::/129", "nonsense", "2001:db8::/", "2001:db8::/x", "1.2.3"}) {
    EXPECT_EQ(failureOf([&] { CQuerySources sources(bad); }).what,
              "Cannot read the status query sources '" + std::string(bad) + "'.");
  }
}
