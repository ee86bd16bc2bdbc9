#include <gtest/gtest.h>

#include "oodb/CExtDomainID.h"

TEST(CExtDomainIDTest, AddsTheDHCPDomains) {
  EXPECT_EQ(CExtDomainID(CExtDomainID::allDevices).name(), "All devices");
  EXPECT_EQ(CExtDomainID(CExtDomainID::invalid).id(), -2);
  EXPECT_EQ(CExtDomainID(CExtDomainID::invalid).name(), "");
  EXPECT_EQ(CExtDomainID(0).name(), "Administrators");
  const CDomainID asBase = CExtDomainID(2, 3);
  EXPECT_EQ(asBase, CDomainID(2));
  EXPECT_EQ(asBase.domainType(), 3);
}
