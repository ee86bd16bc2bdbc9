#pragma once
// First-class objects that belong to security domains. Their memberships
// are rows of the membership table (DOMAIN_ID, SRC_PK, SRC_TABLE), read on
// first use and written by commit when they changed. "dom" statements
// return only objects with a membership in one of the token's domains; a
// secured handle also checks the token's rights on each dereference.

#include "oodb/CDomainMemberships.h"
#include "oodb/CFirstClassObject.h"

class CPersistentSecuredObject : public CFirstClassObject {
 public:
  // The memberships, loaded from the database on first use.
  const CDomainMemberships& domainMemberships() const;
  CDomainMemberships& domainMemberships();
  void domainMemberships(CDomainMemberships::Set domains) {
    domainMemberships().assign(std::move(domains));
  }

  bool _supportsSecuredAccess() const override { return true; }
  CAccessRights _accessRights(const CAccessToken& token) const override {
    return domainMemberships().rightsOf(token);
  }
  CDomainMemberships* _memberships() override { return &m_memberships; }
  const CDomainMemberships* _memberships() const override { return &m_memberships; }

  // Adds "domains = 2,5" to the text form.
  std::string string() const override;
  using CFirstClassObject::string;

 protected:
  CPersistentSecuredObject() = default;

 private:
  mutable CDomainMemberships m_memberships;
};
