#pragma once
// The persistent object core: identity, the session it lives in, its
// attributes, its state (transient, loaded, deleted) and the clone of its
// last stored values that rollback returns to.
//
// A record class derives (usually through CFirstClassObject or
// CPersistentSecuredObject), names itself with PRST_CLASS and declares its
// attributes as members initialised with `this` and a column name.
// Instances are made by the class's prototype (session.createTransient<T>(),
// queries), never directly by code that wants them stored.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "oodb/CIDBPersistentClass.h"
#include "oodb/CPrstSimpleID.h"

class CIPrstSession;
class CPrstAttrBase;
class CPrstUserClassPrototype;

// Inside a record class: the name its prototype is registered under.
#define PRST_CLASS(Class)                 \
 public:                                  \
  static const char* prototypeName() {    \
    return #Class;                        \
  }                                       \
  std::string typeName() const override { \
    return #Class;                        \
  }                                       \
                                          \
 private:

class CPrstUserBase : public CIDBPersistentClass,
                      public std::enable_shared_from_this<CPrstUserBase> {
 public:
  CPrstUserBase(const CPrstUserBase&) = delete;
  CPrstUserBase& operator=(const CPrstUserBase&) = delete;
  ~CPrstUserBase() override;

  // Identity: the row key (kNoPK while transient) and the prototype name.
  const CPrstSimpleID& ID() const { return m_id; }
  std::int32_t pk() const { return m_id.pk; }
  bool isTransient() const { return !m_id.valid(); }
  std::int64_t rowVersion() const { return m_rowVersion; }
  CIPrstSession* session() const { return m_session; }
  const CPrstUserClassPrototype* prototype() const { return m_proto; }
  // "<type> <table>:<pk>".
  std::string header() const;

  const std::vector<CPrstAttrBase*>& attributes() const { return m_attrs; }
  // The attribute of a column (any case), or null.
  CPrstAttrBase* attribute(std::string_view column) const;

  bool isDirty() const;
  bool isDeletedPersistent() const { return m_deleted; }
  // Marks the object for deletion; its next commit deletes its rows, the
  // rows it owns and its link rows.
  virtual void deletePersistent() { m_deleted = true; }

  // Writes the object (and the objects and links it owns, and a secured
  // object's memberships) in the session's transaction. Nothing is written
  // for a clean, stored object.
  virtual void commit();
  // Stores a new object as commit() does, under a savepoint: false, with
  // nothing written and the object still transient, when a unique key of
  // its table already holds one of its values (CIPrstSession::commitUnique).
  bool commitUnique();
  // Re-reads the object's row, discarding unsaved changes.
  virtual void refresh();
  // Discards unsaved changes: back to the values last stored.
  virtual void rollback() { rollbackFromClone(); }
  // The same, on the object's own table only (no links, owned objects or
  // memberships).
  void fastPartialCommit();
  void fastPartialRollback();
  void fastPartialRefresh() { refresh(); }

  void commitToClone();
  void rollbackFromClone(bool ownTableOnly = false);

  // "column = value" lines (lower-case column names) of the stored and
  // derived attributes, in declaration order.
  std::string string() const override;
  // Sets attributes from such lines; an unknown key throws.
  void string(std::string_view text) override;
  std::string prstDump() const;

 protected:
  CPrstUserBase() = default;
  // Runs once the prototype has bound a new instance.
  virtual void _postConstruction() {}

 private:
  friend class CPrstAttrBase;
  friend class CPrstObjectAccess;
  void _addAttr(CPrstAttrBase* attr) { m_attrs.push_back(attr); }
  [[noreturn]] void _noSession(const char* context) const;

  CPrstSimpleID m_id;
  std::int64_t m_rowVersion = 0;
  CIPrstSession* m_session = nullptr;
  const CPrstUserClassPrototype* m_proto = nullptr;
  std::vector<CPrstAttrBase*> m_attrs;
  bool m_deleted = false;
};

// The object layer's access to the state of an object (sessions, prototypes).
class CPrstObjectAccess {
 public:
  static void bind(CPrstUserBase& o, const CPrstUserClassPrototype* proto, CIPrstSession* session);
  static void setPK(CPrstUserBase& o, std::int32_t pk) { o.m_id.pk = pk; }
  static void setRowVersion(CPrstUserBase& o, std::int64_t v) { o.m_rowVersion = v; }
  static void setDeleted(CPrstUserBase& o, bool deleted) { o.m_deleted = deleted; }
  static void detach(CPrstUserBase& o) { o.m_session = nullptr; }
  static void postConstruction(CPrstUserBase& o) { o._postConstruction(); }
};
