#pragma once
// A thread's database session: its transaction, its prototypes, its cache
// of loaded objects and the queries that fill it. Sessions are per thread
// and never shared; the implementation checks that it is used from the
// thread that opened it.
//
// Transactions: begin(), then find/select/commit objects, then commit() or
// rollback(). A failing statement rolls the transaction back before it
// raises (CPrstException, module "oodb_persistence"): nothing is ever half
// written, and objects written in the transaction get their stored values
// back (except a duplicate under commitUnique(), which rolls back to a
// savepoint only). A row changed or deleted by another transaction since
// it was read raises CPrstConflictException; run the packet again.
//
// Typed use (T is a record class with PRST_CLASS):
//   auto kv = session.createTransient<CPrstKeyValue>();
//   kv->name("a"); kv->commit();
//   auto list = session.select<CPrstKeyValue>("keyvalue.name", args, opts);
//   auto next = list.selectNext(1000);

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "oodb/CDBValue.h"
#include "oodb/CDomainID.h"
#include "standard/CGeneralPtr.h"
#include "standard/CStringMap.h"

class CAccessToken;
class CPrstUserBase;
class CPrstUserClassPrototype;
template <class T>
class CPrstUserClassPtr;
template <class T>
class CPrstUserClassPtrList;

// The paging state of a query; owned by the lists it fills.
class CPrstCursor {
 public:
  virtual ~CPrstCursor() = default;
  virtual bool exhausted() const = 0;
};

struct CPrstSelectOptions {
  // For statements whose name contains "dom": the domains the result may
  // come from. Required by them, ignored by the others.
  std::shared_ptr<const CAccessToken> token;
  // Most rows of the first page.
  std::size_t rows = 50;
  // Handles check on each dereference that the token holds "read" on the
  // object (secured objects only).
  bool secured = false;

  CPrstSelectOptions& withToken(std::shared_ptr<const CAccessToken> t) {
    token = std::move(t);
    return *this;
  }
  CPrstSelectOptions& withRows(std::size_t n) {
    rows = n;
    return *this;
  }
  CPrstSelectOptions& securedAccess(bool on = true) {
    secured = on;
    return *this;
  }
};

// One page of a query, untyped.
struct CPrstRawPage {
  std::vector<nuv::CGeneralPtr<CPrstUserBase>> objects;
  std::shared_ptr<CPrstCursor> cursor;
  std::shared_ptr<const CAccessToken> securedBy;
};

class CIPrstSession {
 public:
  // Fixed sizes: rows per page of the finders, most rows of one select,
  // default rows of a lookup.
  static constexpr std::size_t kRowsPerPage = 1000;
  static constexpr std::size_t kMaxRowsPerSelect = 50000;
  static constexpr std::size_t kDefaultMaxObjects = 50;

  virtual ~CIPrstSession() = default;

  // Transactions.
  virtual void begin() = 0;
  // A transaction expected only to read: a provider may start it without
  // the write lock, so readers neither wait for writers nor hold them up.
  // It may still write; the lock is then taken at the first write.
  virtual void beginRead() { begin(); }
  virtual void commit() = 0;
  virtual void rollback() = 0;
  virtual bool inTransaction() const = 0;

  // The prototype of a class or of one of its registered base names; an
  // unknown name throws "Unable to find a factory for type '%1'.".
  virtual const CPrstUserClassPrototype& prototype(const std::string& name) const = 0;

  // A new in-memory object of the prototype: default values, no row.
  virtual nuv::CGeneralPtr<CPrstUserBase> createTransient(const std::string& protoName) = 0;
  // The object with that key, from the cache or the database; null when
  // there is no such row.
  virtual nuv::CGeneralPtr<CPrstUserBase> find(const std::string& protoName, std::int32_t pk) = 0;
  // Writes (or deletes, when marked) an object in the current transaction;
  // partial: its own table only.
  virtual void commitObject(CPrstUserBase& object, bool partial) = 0;
  // Stores a new object under a savepoint: true when stored. False when a
  // unique key of its table already holds one of its values: then only the
  // savepoint is rolled back, the transaction stays open with everything
  // else it wrote, and the object is left transient as the caller built
  // it. Any other failure rolls the transaction back and raises, as
  // commitObject does; a stored object raises.
  virtual bool commitUnique(CPrstUserBase& object) = 0;
  virtual void refreshObject(CPrstUserBase& object) = 0;

  // Link rows of a link table, in sequence order, and replacing them.
  virtual std::vector<std::int32_t> loadLinks(const std::string& linkTable, std::int32_t srcPK,
                                              const std::string& attrName) = 0;
  virtual void writeLinks(const std::string& linkTable, std::int32_t srcPK,
                          const std::string& attrName, const std::string& destProto,
                          const std::vector<std::int32_t>& destPKs) = 0;
  // A secured object's domain memberships as stored.
  virtual std::set<CDomainID> loadMemberships(const CPrstUserBase& object) = 0;

  // A named statement of the statement file, its rows made objects of the
  // prototype; args are keyed by the statement's argument names.
  virtual CPrstRawPage selectRaw(const std::string& protoName, const std::string& statement,
                                 const nuv::CStringMap& args,
                                 const CPrstSelectOptions& options) = 0;
  // The next page of a query; empty when it is exhausted.
  virtual CPrstRawPage selectNextRaw(const std::shared_ptr<CPrstCursor>& cursor,
                                     std::size_t rows) = 0;
  // The number of rows of a counting statement (its first column); a
  // per-table template counts in the table of the prototype.
  virtual std::int64_t selectCount(const std::string& statement, const nuv::CStringMap& args,
                                   const CPrstSelectOptions& options = {}) = 0;
  virtual std::int64_t selectCount(const std::string& protoName, const std::string& statement,
                                   const nuv::CStringMap& args,
                                   const CPrstSelectOptions& options) = 0;
  // The first column of a statement's rows, at most options.rows of them:
  // values, where objects would cost more than they give.
  virtual std::vector<CDBValue> selectValues(const std::string& statement,
                                             const nuv::CStringMap& args,
                                             const CPrstSelectOptions& options = {}) = 0;

  // Typed forms (defined in CPrstUserClassPtr.h).
  template <class T>
  CPrstUserClassPtr<T> createTransient();
  // A new object stored at once in the current transaction.
  template <class T>
  CPrstUserClassPtr<T> create();
  template <class T>
  CPrstUserClassPtr<T> findPK(std::int32_t pk);
  template <class T>
  CPrstUserClassPtrList<T> select(const std::string& statement,
                                  const nuv::CStringMap& args = nuv::CStringMap(),
                                  const CPrstSelectOptions& options = {});
};
