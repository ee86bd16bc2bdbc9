#pragma once
// One persistent field of a record. An attribute registers itself with its
// owner when constructed (declare it as a member initialised with `this`);
// the owner keeps them in declaration order and the object layer walks the
// list to read, write, print and roll back rows. Attributes are neither
// copied nor moved: a record is a fixed set of them.

#include <string>
#include <string_view>

#include "oodb/CDBType.h"
#include "oodb/CDBValue.h"

class CIPrstSession;
class CPrstUserBase;

class CPrstAttrBase {
 public:
  CPrstAttrBase(CPrstUserBase* owner, const char* column, CDBType type);
  CPrstAttrBase(const CPrstAttrBase&) = delete;
  CPrstAttrBase& operator=(const CPrstAttrBase&) = delete;
  virtual ~CPrstAttrBase() = default;

  const char* column() const { return m_column; }
  CDBType type() const { return m_type; }
  CPrstUserBase& owner() const { return *m_owner; }

  // False for attributes that have no column of the owner's table (derived
  // values, links kept in link tables).
  virtual bool stored() const { return true; }
  virtual bool dirty() const { return m_dirty; }

  // The stored column value, and loading one (which leaves it clean).
  virtual CDBValue toDB() const = 0;
  virtual void fromDB(const CDBValue& value) = 0;
  // The text form, and setting from it (which makes it dirty).
  virtual std::string text() const = 0;
  virtual void setText(std::string_view text) = 0;

  // The value last known to be in the database (the clone).
  virtual void _commitToClone() = 0;
  virtual void _rollbackFromClone() = 0;
  void _clean() { m_dirty = false; }
  void _touch() { m_dirty = true; }

  // Cascades: before the owner's row is written (a reference writes the
  // object it owns, so that the column can hold its key), after it is written
  // (links write their rows), and when the owner is deleted.
  virtual void _beforeWrite(CIPrstSession&) {}
  virtual void _afterWrite(CIPrstSession&) {}
  // Whether those cascades may write rows besides the owner's own.
  virtual bool _writesOtherRows() const { return false; }
  virtual void _onDelete(CIPrstSession&) {}
  // The owner was read again: forget what was loaded on demand.
  virtual void _onRefresh() {}

 private:
  CPrstUserBase* m_owner;
  const char* m_column;
  CDBType m_type;
  bool m_dirty = false;
};
