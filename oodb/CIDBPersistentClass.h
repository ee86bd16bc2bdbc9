#pragma once
// Domain memberships and the access-result hooks; no-ops for classes that
// are not secured (CPersistentSecuredObject fills them in).

#include "oodb/CISecuredObject.h"

class CDomainMemberships;

class CIDBPersistentClass : public CISecuredObject {
 public:
  // The object's memberships, null for an unsecured class.
  virtual CDomainMemberships* _memberships() { return nullptr; }
  virtual const CDomainMemberships* _memberships() const { return nullptr; }
};
