#pragma once
// A mark of a pool (table dhcp_apool_marks6, shared by both kinds): an
// address remembered for the pool. Part of the schema for the address
// manager; the request path does not use marks.

#include "oodb/CPersistentSecuredObject.h"
#include "standard/CIPAddress.h"

class CPrstPoolMark : public CPersistentSecuredObject {
 public:
  static constexpr const char* kTable = "dhcp_apool_marks6";

  const nuv::CIPAddress& mark() const { return m_mark.get(); }
  void mark(const nuv::CIPAddress& a) { m_mark.set(a); }
  std::int32_t poolOID() const { return m_poolOID.get(); }
  void poolOID(std::int32_t v) { m_poolOID.set(v); }

 protected:
  CPrstPoolMark() = default;

 private:
  CPrstAttr<nuv::CIPAddress> m_mark{this, "MARK"};
  CPrstAttr<std::int32_t> m_poolOID{this, "POOL_OID", CDBType::longInt};
};

// Marks of an address pool ("apool_mark.pool_oid").
class CPrstAPoolMark : public CPrstPoolMark {
  PRST_CLASS(CPrstAPoolMark)
};

// Marks of a prefix pool ("npool_mark.pool_oid").
class CPrstNPoolMark : public CPrstPoolMark {
  PRST_CLASS(CPrstNPoolMark)
};
