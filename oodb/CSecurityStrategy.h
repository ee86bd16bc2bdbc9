#pragma once
// The read check of a secured handle: each dereference asks whether the
// token the handle was obtained with holds "read" on the object.

class CAccessToken;
class CPrstUserBase;

class CSecurityStrategy {
 public:
  // Throws "Unable to read object %1 of type %2." / "Access denied." when a
  // secured object's rights for the token lack read.
  static void checkRead(const CPrstUserBase& object, const CAccessToken& token);
};
