#include <gtest/gtest.h>

#include "oodb/CDeviceAccessToken.h"
#include "oodb/CExtDomainID.h"
#include "tests/fixtures/FailureOf.h"

using R = CAccessRights;
using Domains = CAccessToken::DomainSet;

TEST(CDeviceAccessTokenTest, GrantsAccumulateInOneEntry) {
  CDeviceAccessToken token;
  token.grantAccess(5, R::read);
  token.grantAccess(5, R::execute);
  EXPECT_EQ(token.domainRights().size(), 1u);
  EXPECT_EQ(token[5], R(R::read | R::execute));
  EXPECT_EQ(token.domains(), Domains{5});
  EXPECT_TRUE(token.hasDomain(5));
  EXPECT_FALSE(token.hasDomain(6));
}

TEST(CDeviceAccessTokenTest, RevokingADomainRemovesItFromMapAndSet) {
  CDeviceAccessToken token(
      CDeviceAccessToken::RightsMap{{CExtDomainID::allDevices, R::read}, {7, R::read | R::write}});
  EXPECT_EQ(token.domains(), (Domains{2, 7}));
  token.revokeAccess(CExtDomainID::allDevices);
  EXPECT_EQ(token.domainRights().count(2), 0u);
  EXPECT_EQ(token.domains(), Domains{7});
  token.revokeAccess(CExtDomainID::allDevices);  // nothing left to remove
  EXPECT_EQ(token.domains(), Domains{7});
}

TEST(CDeviceAccessTokenTest, RevokingRights) {
  CDeviceAccessToken token(7, R::read | R::write);
  token.revokeAccess(7, R::write);
  EXPECT_EQ(token[7], R(R::read));
  token.revokeAccess(7, R::read);  // the last right takes the entry with it
  EXPECT_TRUE(token.domainRights().empty());
  EXPECT_TRUE(token.domains().empty());
  EXPECT_EQ(failureOf([&] { token.revokeAccess(7, R::read); }),
            (Failure{"security", "CDeviceAccessToken::revokeAccess",
                     "Unable to revoke access for domain ID 7.", "No such entry."}));
}

TEST(CDeviceAccessTokenTest, MissingDomainHasNoRights) {
  const CDeviceAccessToken token(3, R::read);
  EXPECT_EQ(failureOf([&] { token[-2]; }),
            (Failure{"security", "CDeviceAccessToken::operator[]",
                     "Unable to find access rights for domain ID -2.", "No such entry."}));
}

TEST(CDeviceAccessTokenTest, TextForm) {
  CDeviceAccessToken token;
  EXPECT_EQ(token.string(), "[domain_rights=]");
  token.domainRights({{5, R::read}, {2, R::read | R::write}, {-1, R::none}});
  EXPECT_EQ(token.domains(), (Domains{-1, 2, 5}));
  const CAccessToken& base = token;
  EXPECT_EQ(base.string(), "[domain_rights=-1:none;2:read,write;5:read]");
  token.clear();
  EXPECT_TRUE(token.domains().empty());
  EXPECT_EQ(failureOf([] { CDeviceAccessToken::parse("[domain_rights=2:read]"); }),
            (Failure{"security", "CDeviceAccessToken::parse",
                     "Cannot de-serialize a security access token from text.",
                     "Unsupported operation."}));
}
