#pragma once
// The session of one thread over one database connection (CIPrstSession).
//
// Statements: every statement it runs is a record of the provider's
// statement file, prepared once per connection and kept (per table for the
// per-table templates), so a packet runs no schema query and prepares
// nothing after its first use. The fixed names it relies on:
//   TRANSACTION_BEGIN, TRANSACTION_COMMIT, TRANSACTION_ROLLBACK
//   TRANSACTION_SAVEPOINT, TRANSACTION_RELEASE_SAVEPOINT,
//   TRANSACTION_ROLLBACK_TO_SAVEPOINT           one savepoint (commitUnique)
//   NEXT_PK_FROM_GENERATOR (<<TABLE>>)           row keys reserved for this
//       session: rows of (first, last) ranges, each within 1..2^31-1; the
//       generator starts at 1 again after the last key
//   SELECT_WITH_PRIMARY_KEY (<<TABLE>>; PK)
//   INSERT_ALL_FIELDS (<<TABLE>>, <<FIELD_NAMES>>, <<FIELD_VALUES>>; PK, fields)
//       inserts nothing when the key is taken (a row older than the
//       generator's wrap); INSERT_ALL_FIELDS_UNIQUE also when another
//       unique key is
//   UPDATE_WITHOUT_CURSOR (<<TABLE>>, <<FIELDS>>; fields, PK, ROW_VERSION)
//   DELETE_WITHOUT_CURSOR (<<TABLE>>; PK, ROW_VERSION)
//   LINK_SELECT, LINK_DELETE, LINK_INSERT (<<TABLE>> = the link table)
//   MSHIP_SELECT, MSHIP_DELETE, MSHIP_INSERT   domain memberships
// Every table has the columns PK and ROW_VERSION besides its attributes:
// an update or delete names the version it read and fails with a conflict
// when another transaction changed the row first, so no update is lost.
//
// Named statements take their arguments from a string map by argument
// name, converted by their argument type; the argument DOMAINS (type
// "[__DB_TYPE_DOMAIN_GROUP_ID__]") is filled from the access token with the
// token's domain identities joined by ",".

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "extended/CLogSink.h"
#include "oodb/CIPrstSession.h"
#include "oodb/CPrstUserClassFactory.h"
#include "oodb_persistence/CSqlConnection.h"
#include "oodb_persistence/CSqlStatementSpec.h"

class CPrstDBSession : public CIPrstSession {
 public:
  CPrstDBSession(std::unique_ptr<CSqlConnection> connection,
                 std::shared_ptr<const CSqlStatementSpec> spec, CPrstUserClassFactory factory,
                 CLogSink* log = nullptr);
  ~CPrstDBSession() override;

  using CIPrstSession::create;
  using CIPrstSession::createTransient;
  using CIPrstSession::findPK;
  using CIPrstSession::select;

  void begin() override;
  void beginRead() override;
  void commit() override;
  void rollback() override;
  bool inTransaction() const override { return m_inTx; }

  const CPrstUserClassPrototype& prototype(const std::string& name) const override;
  const CPrstUserClassFactory& factory() const { return m_factory; }
  CSqlConnection& connection() { return *m_conn; }

  nuv::CGeneralPtr<CPrstUserBase> createTransient(const std::string& protoName) override;
  nuv::CGeneralPtr<CPrstUserBase> find(const std::string& protoName, std::int32_t pk) override;
  void commitObject(CPrstUserBase& object, bool partial) override;
  bool commitUnique(CPrstUserBase& object) override;
  void refreshObject(CPrstUserBase& object) override;

  std::vector<std::int32_t> loadLinks(const std::string& linkTable, std::int32_t srcPK,
                                      const std::string& attrName) override;
  void writeLinks(const std::string& linkTable, std::int32_t srcPK, const std::string& attrName,
                  const std::string& destProto, const std::vector<std::int32_t>& destPKs) override;
  std::set<CDomainID> loadMemberships(const CPrstUserBase& object) override;

  CPrstRawPage selectRaw(const std::string& protoName, const std::string& statement,
                         const nuv::CStringMap& args, const CPrstSelectOptions& options) override;
  CPrstRawPage selectNextRaw(const std::shared_ptr<CPrstCursor>& cursor, std::size_t rows) override;
  std::int64_t selectCount(const std::string& statement, const nuv::CStringMap& args,
                           const CPrstSelectOptions& options = {}) override;
  std::int64_t selectCount(const std::string& protoName, const std::string& statement,
                           const nuv::CStringMap& args, const CPrstSelectOptions& options) override;
  std::vector<CDBValue> selectValues(const std::string& statement, const nuv::CStringMap& args,
                                     const CPrstSelectOptions& options = {}) override;

  // Objects currently held by the cache (diagnostics and tests).
  std::size_t cachedObjects() const;

 private:
  struct Prepared;
  class Cursor;
  struct Touched {
    nuv::CGeneralPtr<CPrstUserBase> object;
    bool inserted = false;
    std::int64_t version = 0;
  };
  struct CacheKey {
    const CPrstUserClassPrototype* proto;
    std::int32_t pk;
    bool operator==(const CacheKey& o) const { return proto == o.proto && pk == o.pk; }
  };
  struct CacheHash {
    std::size_t operator()(const CacheKey& k) const {
      return std::hash<const void*>()(k.proto) * 31u + static_cast<std::size_t>(k.pk);
    }
  };

  void _requireThread(const char* context) const;
  void _ensureTx(const char* context);
  // Rolls the transaction back after a failure, then the caller rethrows.
  void _abort();
  void _endTx();
  // Objects touched since the from-th one get their stored values back.
  void _restoreTouched(std::size_t from = 0);
  // A null statement: the begin waits for the first write.
  void _begin(const char* statement);
  // Runs a statement that takes no arguments and returns no rows.
  void _runFixed(const char* name);
  void _touched(CPrstUserBase& object, bool inserted);

  Prepared& _statement(const std::string& name, const std::string& table = {},
                       const std::vector<CPrstColumn>* columns = nullptr,
                       std::initializer_list<const char*> required = {});
  Prepared& _tableStatement(const CPrstUserClassPrototype& proto, const std::string& name,
                            std::initializer_list<const char*> required);
  class StatementRun;
  // Runs a statement, rolling the transaction back when it fails; the
  // statement is reset when the returned guard goes.
  [[nodiscard]] StatementRun _run(Prepared& p, const std::vector<CDBValue>& params);
  // Runs a change and answers the rows it changed.
  std::int64_t _affectedRows(Prepared& p, const std::vector<CDBValue>& params);
  std::vector<CDBValue> _args(const CSqlStatementRecord& rec, const nuv::CStringMap& args,
                              const CPrstSelectOptions& options);

  nuv::CGeneralPtr<CPrstUserBase> _materialize(const CPrstUserClassPrototype& proto, Prepared& p);
  const std::vector<int>& _columnMap(const CPrstUserClassPrototype& proto, Prepared& p);
  void _fill(CPrstUserBase& object, Prepared& p, const std::vector<int>& map);
  CPrstRawPage _fetch(const std::shared_ptr<Cursor>& cursor, std::size_t rows);

  // commitObject's work; with unique, a new row that a unique key of
  // another row refuses is skipped (nothing written) and false returned.
  bool _store(CPrstUserBase& object, bool partial, bool unique);
  // Writes the object's row; with unique, a new row that another row's
  // unique key refuses is skipped and false returned.
  bool _write(CPrstUserBase& object, bool unique = false);
  // A key for a new row of the table, from the session's reserved keys.
  std::int32_t _nextKey(const CPrstUserClassPrototype& proto, const CPrstUserBase& object);
  // Whether the table holds a row with the key.
  bool _keyTaken(const CPrstUserClassPrototype& proto, std::int32_t pk);
  // Forgets keys whose reservation a rollback undid (all those reserved
  // by the transaction, or only those under its savepoint).
  void _dropReservedKeys(bool savepointOnly);
  void _delete(CPrstUserBase& object, bool partial);
  void _writeMemberships(CPrstUserBase& object, bool inserted);

  std::unique_ptr<CSqlConnection> m_conn;
  std::shared_ptr<const CSqlStatementSpec> m_spec;
  CPrstUserClassFactory m_factory;
  CLogSink* m_log;
  std::thread::id m_thread;
  bool m_inTx = false;
  // A read transaction whose begin waits for its first write.
  bool m_beginPending = false;
  // Inside commitUnique: a duplicate leaves the transaction to the savepoint.
  bool m_inSavepoint = false;
  std::unordered_map<std::string, std::unique_ptr<Prepared>> m_prepared;
  std::unordered_map<CacheKey, std::weak_ptr<CPrstUserBase>, CacheHash> m_cache;
  std::size_t m_cachePurgeAt = 256;
  // Keys reserved from a table's generator and not used yet, taken from
  // the back. A generator that is a table row is undone by a rollback, so
  // keys reserved by the running transaction are forgotten with it.
  struct ReservedKeys {
    std::vector<std::int32_t> keys;
    bool uncommitted = false;
    bool underSavepoint = false;
  };
  std::unordered_map<const CPrstUserClassPrototype*, ReservedKeys> m_keys;
  std::vector<Touched> m_touched;
  std::unordered_set<const CPrstUserBase*> m_touchedSet;
};
