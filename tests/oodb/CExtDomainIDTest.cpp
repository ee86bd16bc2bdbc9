#include <gtest/gtest.h>

#include "oodb/CExtDomainID.h"

// Rights are granted by domain number: the domain's type never makes two
// domains differ.
TEST(CExtDomainIDTest, ComparesAsItsBaseByNumberAlone) {
  const CDomainID asBase = CExtDomainID(2, 3);
  EXPECT_EQ(asBase, CDomainID(2, 1));
  EXPECT_EQ(asBase.domainType(), 3);
  EXPECT_LT(asBase, CDomainID(5, 1));
  EXPECT_EQ(CExtDomainID(CExtDomainID::invalid).id(), -2);
}
