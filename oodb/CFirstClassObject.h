#pragma once
// Objects other records refer to: they carry their identity OID (equal to
// their row key, set when first stored) and MOD_TIME, the time of their last
// write. Pendings are first-class objects; pools, bindings and policies are
// secured ones (CPersistentSecuredObject).

#include <cstdint>

#include "oodb/CPrstAttr.h"
#include "oodb/CPrstUserBase.h"
#include "standard/CTimeT.h"

class CFirstClassObject : public CPrstUserBase {
 public:
  std::int32_t identity() const { return m_oid.get(); }
  void identity(std::int32_t oid) { m_oid.set(oid); }
  nuv::CTimeT modTime() const { return m_modTime.get(); }
  void modTime(nuv::CTimeT t) { m_modTime.set(t); }

  // The identity a new object takes when first stored: its row key.
  virtual std::int32_t _createOid(std::int32_t pk) const { return pk; }

 protected:
  CFirstClassObject() = default;

 private:
  CPrstAttr<std::int32_t> m_oid{this, "OID", CDBType::longInt, -1};
  CPrstAttr<nuv::CTimeT> m_modTime{this, "MOD_TIME"};
};
