#pragma once
// A mark of a pool (table dhcp_apool_marks6, shared by both kinds): an
// address remembered for the pool. Part of the schema for the address
// manager; the request path does not use marks.

#include <string>

#include "oodb/CPersistentSecuredObject.h"
#include "oodb/CPrstUserClassPtr.h"
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

// The marks of one pool ("apool_mark.pool_oid" / "npool_mark.pool_oid").
template <class Leaf>
CPrstUserClassPtrList<Leaf> prstSelectMarks(CIPrstSession& s, std::int32_t poolOID) {
  nuv::CStringMap args;
  args.set("POOL_OID", std::to_string(poolOID));
  return s.select<Leaf>(std::string(Leaf::kStatementStem) + ".pool_oid", args,
                        CPrstSelectOptions().withRows(CIPrstSession::kRowsPerPage));
}

// A mark of an address pool.
class CPrstAPoolMark : public CPrstPoolMark {
  PRST_CLASS(CPrstAPoolMark)

 public:
  static constexpr const char* kStatementStem = "apool_mark";
  static CPrstUserClassPtrList<CPrstAPoolMark> selectByPool(CIPrstSession& s, std::int32_t pool) {
    return prstSelectMarks<CPrstAPoolMark>(s, pool);
  }
};

// A mark of a prefix pool.
class CPrstNPoolMark : public CPrstPoolMark {
  PRST_CLASS(CPrstNPoolMark)

 public:
  static constexpr const char* kStatementStem = "npool_mark";
  static CPrstUserClassPtrList<CPrstNPoolMark> selectByPool(CIPrstSession& s, std::int32_t pool) {
    return prstSelectMarks<CPrstNPoolMark>(s, pool);
  }
};
