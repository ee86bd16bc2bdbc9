#pragma once
// The access-check hooks of an object: what rights the caller was found to
// hold on it. Objects that are not secured report every right.

#include "oodb/CAccessRights.h"
#include "oodb/CObject.h"

class CAccessToken;

class CISecuredObject : public nuv::CObject {
 public:
  // True for objects that carry domain memberships and are checked.
  virtual bool _supportsSecuredAccess() const { return false; }
  // The rights a token holds on this object: for a secured object the union
  // of the token's rights in the object's domains; otherwise all.
  virtual CAccessRights _accessRights(const CAccessToken& token) const;
};
