#include "oodb_persistence/CPrstDBSession.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "oodb/CDomainMemberships.h"
#include "oodb/CFirstClassObject.h"
#include "oodb/CPrstAttrBase.h"
#include "oodb/CPrstException.h"
#include "oodb/CPrstUserBase.h"
#include "oodb/CPrstValueTraits.h"
#include "oodb_persistence/CPrstStatementTemplate.h"
#include "standard/StringUtil.h"

struct CPrstDBSession::Prepared {
  std::unique_ptr<CSqlStatement> stmt;
  const CSqlStatementRecord* rec = nullptr;
  // Bumped whenever the statement runs again or its result is released, so
  // that a cursor can tell its rows are gone.
  std::uint64_t generation = 0;
  bool open = false;
  std::unordered_map<const CPrstUserClassPrototype*, std::vector<int>> maps;
};

class CPrstDBSession::Cursor : public CPrstCursor {
 public:
  bool exhausted() const override { return done; }

  Prepared* p = nullptr;
  std::uint64_t generation = 0;
  const CPrstUserClassPrototype* proto = nullptr;
  std::shared_ptr<const CAccessToken> securedBy;
  bool done = false;
};

namespace {

constexpr int kColPK = -1;
constexpr int kColVersion = -2;
constexpr int kColIgnored = -3;

// Buckets of the set of touched objects that a commit keeps for the next
// transaction.
constexpr std::size_t kKeptTouched = 1024;
// Keys are signed 32-bit; the generators start at 1 again after this one.
constexpr std::int64_t kMaxKey = 2147483647;
// Taken keys skipped in a row before an insert gives up.
constexpr int kKeyTries = 1000;

const char* const kImplicit =
    "A database transaction has been implicitly created. This should be avoided.";

}  // namespace

CPrstDBSession::CPrstDBSession(std::unique_ptr<CSqlConnection> connection,
                               std::shared_ptr<const CSqlStatementSpec> spec,
                               CPrstUserClassFactory factory, CLogSink* log)
    : m_conn(std::move(connection)),
      m_spec(std::move(spec)),
      m_factory(std::move(factory)),
      m_log(log),
      m_thread(std::this_thread::get_id()) {}

CPrstDBSession::~CPrstDBSession() {
  if (m_inTx) {
    try {
      rollback();
    } catch (...) {  // the connection goes anyway; the database rolls back
    }
  }
  for (auto& [key, weak] : m_cache)
    if (auto o = weak.lock()) CPrstObjectAccess::detach(*o);
}

void CPrstDBSession::_requireThread(const char* context) const {
  if (std::this_thread::get_id() != m_thread)
    PRST_THROW(context, nuv::CMessage("Cannot use the database session of another thread."),
               nuv::CMessage("Sessions are per thread."));
}

const CPrstUserClassPrototype& CPrstDBSession::prototype(const std::string& name) const {
  return m_factory._prototype(name);
}

// ---- statements ----------------------------------------------------------

CPrstDBSession::Prepared& CPrstDBSession::_statement(const std::string& name,
                                                     const std::string& table,
                                                     const std::vector<CPrstColumn>* columns,
                                                     std::initializer_list<const char*> required) {
  const std::string key = table.empty() ? name : name + "@" + table;
  auto it = m_prepared.find(key);
  if (it != m_prepared.end()) return *it->second;
  const CSqlStatementRecord& rec = m_spec->get(name);
  std::string sql = rec.statement;
  if (rec.isTemplate()) {
    if (table.empty())
      PRST_THROW("CPrstDBSession::_statement",
                 nuv::CMessage("Cannot precompile sql statement '%1'.").pushs(name),
                 nuv::CMessage("The statement is a per-table template."));
    sql = CPrstStatementTemplate::expand(name, rec.statement, table,
                                         columns ? *columns : std::vector<CPrstColumn>{}, required);
  }
  auto p = std::make_unique<Prepared>();
  p->rec = &rec;
  p->stmt = m_conn->prepare(key, sql);
  return *m_prepared.emplace(key, std::move(p)).first->second;
}

CPrstDBSession::Prepared& CPrstDBSession::_tableStatement(
    const CPrstUserClassPrototype& proto, const std::string& name,
    std::initializer_list<const char*> required) {
  return _statement(name, proto.table(), &proto.columns(), required);
}

// A statement's run until its scope ends: then the statement is reset, and
// when the scope ends by an exception of any type (a failed read, a
// conflict, std::bad_alloc while materialising), the transaction is rolled
// back first, so that no failure leaves it running.
class CPrstDBSession::StatementRun {
 public:
  StatementRun(CPrstDBSession& session, Prepared& p)
      : m_session(session), m_p(p), m_exceptions(std::uncaught_exceptions()) {}
  StatementRun(const StatementRun&) = delete;
  StatementRun& operator=(const StatementRun&) = delete;
  ~StatementRun() {
    const bool failed = std::uncaught_exceptions() > m_exceptions;
    if (!m_keepOpen || failed) {
      m_p.stmt->reset();
      m_p.open = false;
    }
    if (failed) m_session._abort();
  }
  // A cursor reads on after the scope: only a failure ends the statement.
  void keepOpen() {
    m_keepOpen = true;
    m_p.open = true;
  }

 private:
  CPrstDBSession& m_session;
  Prepared& m_p;
  const int m_exceptions;
  bool m_keepOpen = false;
};

CPrstDBSession::StatementRun CPrstDBSession::_run(Prepared& p,
                                                  const std::vector<CDBValue>& params) {
  if (p.open) p.stmt->reset();
  p.open = false;
  ++p.generation;
  try {
    p.stmt->execute(params);
  } catch (const CPrstDuplicateException&) {
    // Under a savepoint the caller rolls back to it; the transaction lives on.
    p.stmt->reset();
    if (!m_inSavepoint) _abort();
    throw;
  } catch (...) {
    p.stmt->reset();
    _abort();
    throw;
  }
  return StatementRun(*this, p);
}

std::int64_t CPrstDBSession::_affectedRows(Prepared& p, const std::vector<CDBValue>& params) {
  const StatementRun run = _run(p, params);
  return p.stmt->affectedRows();
}

void CPrstDBSession::_runFixed(const char* name) {
  (void)_run(_statement(name), {});
}

std::vector<CDBValue> CPrstDBSession::_args(const CSqlStatementRecord& rec,
                                            const nuv::CStringMap& args,
                                            const CPrstSelectOptions& options) {
  auto needToken = [&] {
    PRST_THROW("CPrstDBSession::selectRaw",
               nuv::CMessage("Sql statement '%1' needs an access token.").pushs(rec.name),
               nuv::CMessage("No access token."));
  };
  if (rec.isDomainFiltered() && !options.token) needToken();
  std::vector<CDBValue> out;
  out.reserve(rec.argNames.size());
  for (std::size_t i = 0; i < rec.argNames.size(); ++i) {
    const std::string& name = rec.argNames[i];
    if (rec.argTypes[i] == CDBType::domainGroupID) {
      if (!options.token) needToken();
      std::string domains;
      for (const auto& d : options.token->domains())
        domains += (domains.empty() ? "" : ",") + d.string();
      out.push_back(CDBValue::ofText(std::move(domains)));
      continue;
    }
    const std::string* v = args.getp(name);
    if (!v)
      PRST_THROW("CPrstDBSession::selectRaw",
                 nuv::CMessage("Missing argument '%1' for sql statement '%2'.")
                     .pushs(name)
                     .pushs(rec.name),
                 nuv::CMessage("Missing argument."));
    try {
      out.push_back(dbValueFromText(rec.argTypes[i], *v));
    } catch (const nuv::CException& e) {
      PRST_THROW("CPrstDBSession::selectRaw",
                 nuv::CMessage("Invalid argument '%1' for sql statement '%2'.")
                     .pushs(name)
                     .pushs(rec.name),
                 nuv::CMessage(e.whatText()));
    }
  }
  return out;
}

// ---- transactions --------------------------------------------------------

void CPrstDBSession::begin() {
  _begin("TRANSACTION_BEGIN");
}

void CPrstDBSession::beginRead() {
  // A statement file without a reader's begin has writers' only.
  const CSqlStatementRecord* read = m_spec->find("TRANSACTION_BEGIN_READ");
  if (!read) return _begin("TRANSACTION_BEGIN");
  if (!read->statement.empty()) return _begin("TRANSACTION_BEGIN_READ");
  // An empty one: reads run on their own, each seeing the last commit, as
  // the statements of a read-committed transaction would; a server round
  // trip each for begin and commit is saved. A first write begins the
  // transaction.
  _begin(nullptr);
}

void CPrstDBSession::_begin(const char* statement) {
  _requireThread("CPrstDBSession::begin");
  if (m_inTx)
    PRST_THROW("CPrstDBSession::begin", nuv::CMessage("Cannot begin a database transaction."),
               nuv::CMessage("A transaction is already active."));
  _endTx();
  m_conn->recover();
  if (!statement) {
    m_inTx = true;
    m_beginPending = true;
    return;
  }
  try {
    _runFixed(statement);
  } catch (const CPrstUnavailableException&) {
    // A connection the server dropped since the last transaction shows
    // only now: once more on a new one.
    m_conn->recover();
    _runFixed(statement);
  }
  m_inTx = true;
}

void CPrstDBSession::commit() {
  _requireThread("CPrstDBSession::commit");
  if (!m_inTx)
    PRST_THROW("CPrstDBSession::commit", nuv::CMessage("Cannot commit the database transaction."),
               nuv::CMessage("Requested transaction type assumes a transaction already exists."));
  _endTx();
  if (!m_beginPending) _runFixed("TRANSACTION_COMMIT");
  m_inTx = false;
  m_beginPending = false;
  for (auto& [proto, reserved] : m_keys) reserved.uncommitted = reserved.underSavepoint = false;
  for (auto& t : m_touched) {
    CPrstUserBase& o = *t.object;
    if (o.isDeletedPersistent()) {
      CPrstObjectAccess::setPK(o, CPrstSimpleID::kNoPK);
      CPrstObjectAccess::setRowVersion(o, 0);
    } else {
      o.commitToClone();
    }
  }
  // clear() keeps the capacity, and the set's clear() sweeps every bucket:
  // after a big transaction start afresh, or every later commit pays for it.
  if (m_touchedSet.bucket_count() > kKeptTouched) {
    decltype(m_touched)().swap(m_touched);
    decltype(m_touchedSet)().swap(m_touchedSet);
  } else {
    m_touched.clear();
    m_touchedSet.clear();
  }
  if (m_cache.size() > m_cachePurgeAt) {
    for (auto it = m_cache.begin(); it != m_cache.end();)
      it = it->second.expired() ? m_cache.erase(it) : ++it;
    m_cachePurgeAt = std::max<std::size_t>(256, m_cache.size() * 2);
  }
}

void CPrstDBSession::rollback() {
  _requireThread("CPrstDBSession::rollback");
  if (!m_inTx) return;
  _endTx();
  m_inTx = false;
  _dropReservedKeys(false);
  if (std::exchange(m_beginPending, false)) return _restoreTouched();
  Prepared& p = _statement("TRANSACTION_ROLLBACK");
  try {
    p.stmt->execute({});
    p.stmt->reset();
  } catch (const CPrstException&) {
    _restoreTouched();
    throw;
  }
  _restoreTouched();
}

void CPrstDBSession::_ensureTx(const char* context) {
  if (m_inTx) {
    if (std::exchange(m_beginPending, false)) _runFixed("TRANSACTION_BEGIN");
    return;
  }
  if (m_log) m_log->log(nuv::sev_warning, nuv::CMessage(kImplicit));
  (void)context;
  begin();
}

void CPrstDBSession::_abort() {
  _endTx();
  if (!m_inTx) return;
  m_inTx = false;
  _dropReservedKeys(false);
  if (std::exchange(m_beginPending, false)) return _restoreTouched();
  try {
    Prepared& p = _statement("TRANSACTION_ROLLBACK");
    p.stmt->execute({});
    p.stmt->reset();
  } catch (...) {  // the original failure is what the caller reports
  }
  _restoreTouched();
}

void CPrstDBSession::_endTx() {
  for (auto& [key, p] : m_prepared) {
    if (!p->open) continue;
    p->stmt->reset();
    p->open = false;
    ++p->generation;
  }
}

void CPrstDBSession::_touched(CPrstUserBase& object, bool inserted) {
  if (!m_touchedSet.insert(&object).second) return;
  m_touched.push_back({object.shared_from_this(), inserted, object.rowVersion()});
}

void CPrstDBSession::_restoreTouched(std::size_t from) {
  for (std::size_t i = from; i < m_touched.size(); ++i) {
    const Touched& t = m_touched[i];
    CPrstUserBase& o = *t.object;
    m_touchedSet.erase(&o);
    const CacheKey key{o.prototype(), o.pk()};
    if (t.inserted) {
      // A new object stays as the caller built it, ready to be stored again.
      m_cache.erase(key);
      CPrstObjectAccess::setPK(o, CPrstSimpleID::kNoPK);
      CPrstObjectAccess::setRowVersion(o, 0);
      for (auto* a : o.attributes()) a->_touch();
      if (auto* m = o._memberships()) m->_touch();
      continue;
    }
    o.rollbackFromClone();
    CPrstObjectAccess::setRowVersion(o, t.version);
    m_cache[key] = o.weak_from_this();
  }
  m_touched.erase(m_touched.begin() + static_cast<std::ptrdiff_t>(from), m_touched.end());
}

// ---- objects -------------------------------------------------------------

nuv::CGeneralPtr<CPrstUserBase> CPrstDBSession::createTransient(const std::string& protoName) {
  _requireThread("CPrstDBSession::createTransient");
  return prototype(protoName).create(this);
}

nuv::CGeneralPtr<CPrstUserBase> CPrstDBSession::find(const std::string& protoName,
                                                     std::int32_t pk) {
  _requireThread("CPrstDBSession::find");
  const CPrstUserClassPrototype& proto = prototype(protoName);
  if (pk == CPrstSimpleID::kNoPK) return nullptr;
  auto it = m_cache.find({&proto, pk});
  if (it != m_cache.end())
    if (auto o = it->second.lock()) return o;
  Prepared& p = _tableStatement(proto, "SELECT_WITH_PRIMARY_KEY", {"TABLE"});
  const StatementRun run = _run(p, {CDBValue::ofInt(pk)});
  return p.stmt->next() ? _materialize(proto, p) : nullptr;
}

void CPrstDBSession::commitObject(CPrstUserBase& object, bool partial) {
  (void)_store(object, partial, false);
}

bool CPrstDBSession::_store(CPrstUserBase& object, bool partial, bool unique) {
  _requireThread("CPrstDBSession::commitObject");
  if (object.session() != this)
    PRST_THROW("CPrstDBSession::commitObject",
               nuv::CMessage("Cannot store object %1.").pushs(object.header()),
               nuv::CMessage("The object belongs to another session."));
  if (object.isDeletedPersistent()) {
    if (object.isTransient()) return true;
    _ensureTx("CPrstDBSession::commitObject");
    _delete(object, partial);
    return true;
  }
  _ensureTx("CPrstDBSession::commitObject");
  const bool inserted = object.isTransient();
  const std::size_t mark = m_touched.size();
  _touched(object, inserted);
  if (!partial)
    for (auto* a : object.attributes()) a->_beforeWrite(*this);
  if (!_write(object, unique)) {
    _restoreTouched(mark);
    return false;
  }
  if (partial) return true;
  for (auto* a : object.attributes()) a->_afterWrite(*this);
  _writeMemberships(object, inserted);
  return true;
}

bool CPrstDBSession::commitUnique(CPrstUserBase& object) {
  _requireThread("CPrstDBSession::commitUnique");
  if (!object.isTransient() || object.isDeletedPersistent())
    PRST_THROW("CPrstDBSession::commitUnique",
               nuv::CMessage("Cannot store object %1 under a savepoint.").pushs(object.header()),
               nuv::CMessage("Only a new object is stored under a savepoint."));
  _ensureTx("CPrstDBSession::commitUnique");
  const auto& attrs = object.attributes();
  if (std::none_of(attrs.begin(), attrs.end(), [](auto* a) { return a->_writesOtherRows(); })) {
    // Only the object's own row (and its memberships after it): a
    // conditional insert needs nothing undone when it is refused, and
    // saves the savepoint's two statements (two round trips to a server).
    return _store(object, false, true);
  }
  _runFixed("TRANSACTION_SAVEPOINT");
  // What this write touches is undone with the savepoint; what the
  // transaction touched before stays.
  const std::size_t mark = m_touched.size();
  m_inSavepoint = true;
  try {
    commitObject(object, false);
  } catch (const CPrstDuplicateException&) {
    m_inSavepoint = false;
    _dropReservedKeys(true);
    _runFixed("TRANSACTION_ROLLBACK_TO_SAVEPOINT");
    _runFixed("TRANSACTION_RELEASE_SAVEPOINT");
    _restoreTouched(mark);
    return false;
  } catch (...) {
    m_inSavepoint = false;
    throw;
  }
  m_inSavepoint = false;
  for (auto& [proto, reserved] : m_keys) reserved.underSavepoint = false;
  _runFixed("TRANSACTION_RELEASE_SAVEPOINT");
  return true;
}

bool CPrstDBSession::_write(CPrstUserBase& object, bool unique) {
  const auto& attrs = object.attributes();
  const bool transient = object.isTransient();
  if (!transient &&
      std::none_of(attrs.begin(), attrs.end(), [](auto* a) { return a->stored() && a->dirty(); }))
    return true;
  const CPrstUserClassPrototype& proto = *object.prototype();
  auto* first = dynamic_cast<CFirstClassObject*>(&object);
  if (first) first->modTime(nuv::CTimeT::now());
  std::vector<CDBValue> params;
  params.reserve(attrs.size() + 2);
  if (transient) {
    Prepared& ins =
        _tableStatement(proto, unique ? "INSERT_ALL_FIELDS_UNIQUE" : "INSERT_ALL_FIELDS",
                        {"TABLE", "FIELD_NAMES", "FIELD_VALUES"});
    // A key the insert finds taken belongs to a row from before the
    // generator started again at 1: the next one is tried. Rows that live
    // that long are few, so the loop is short; the bound only guards it.
    for (int tries = 0;; ++tries) {
      const std::int32_t pk = _nextKey(proto, object);
      CPrstObjectAccess::setPK(object, pk);
      if (first) first->identity(first->_createOid(pk));
      params.clear();
      params.push_back(CDBValue::ofInt(pk));
      for (auto* a : attrs)
        if (a->stored()) params.push_back(a->toDB());
      if (_affectedRows(ins, params) == 1) break;
      if (!_keyTaken(proto, pk)) return false;  // refused by another unique key
      if (tries == kKeyTries) {
        const std::string header = object.header();
        _abort();
        PRST_THROW("CPrstDBSession::_write",
                   nuv::CMessage("Cannot create object %1.").pushs(header),
                   nuv::CMessage("The key generator found no free key."));
      }
    }
    CPrstObjectAccess::setRowVersion(object, 1);
    m_cache[{&proto, object.pk()}] = object.weak_from_this();
  } else {
    for (auto* a : attrs)
      if (a->stored()) params.push_back(a->toDB());
    params.push_back(CDBValue::ofInt(object.pk()));
    params.push_back(CDBValue::ofInt(object.rowVersion()));
    Prepared& up = _tableStatement(proto, "UPDATE_WITHOUT_CURSOR", {"TABLE", "FIELDS"});
    if (_affectedRows(up, params) != 1) {
      const std::string header = object.header();
      _abort();
      throw CPrstConflictException(
          nuv::CMessage("Cannot update object %1.").pushs(header),
          nuv::CMessage("The row was changed or deleted by another transaction."),
          "CPrstDBSession::_write", __FILE__, __LINE__);
    }
    CPrstObjectAccess::setRowVersion(object, object.rowVersion() + 1);
  }
  for (auto* a : attrs)
    if (a->stored()) a->_clean();
  return true;
}

std::int32_t CPrstDBSession::_nextKey(const CPrstUserClassPrototype& proto,
                                      const CPrstUserBase& object) {
  ReservedKeys& reserved = m_keys[&proto];
  if (reserved.keys.empty()) {
    auto fail = [&](nuv::CMessage why) {
      PRST_THROW("CPrstDBSession::_write",
                 nuv::CMessage("Cannot create object %1.").pushs(object.header()), why);
    };
    std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
    {
      Prepared& gen = _tableStatement(proto, "NEXT_PK_FROM_GENERATOR", {"TABLE"});
      const StatementRun run = _run(gen, {});
      while (gen.stmt->next())
        ranges.emplace_back(gen.stmt->column(0).asInt64(), gen.stmt->column(1).asInt64());
    }
    if (ranges.empty()) fail(nuv::CMessage("The key generator returned nothing."));
    // Kept so that the back is the first key reserved.
    for (auto r = ranges.rbegin(); r != ranges.rend(); ++r) {
      if (r->first < 1 || r->second < r->first || r->second > kMaxKey)
        fail(nuv::CMessage("The key generator returned keys %1 to %2.")
                 .pushs(std::to_string(r->first))
                 .pushs(std::to_string(r->second)));
      for (std::int64_t k = r->second; k >= r->first; --k)
        reserved.keys.push_back(static_cast<std::int32_t>(k));
    }
    reserved.uncommitted = true;
    reserved.underSavepoint = m_inSavepoint;
  }
  const std::int32_t pk = reserved.keys.back();
  reserved.keys.pop_back();
  return pk;
}

bool CPrstDBSession::_keyTaken(const CPrstUserClassPrototype& proto, std::int32_t pk) {
  Prepared& sel = _tableStatement(proto, "SELECT_WITH_PRIMARY_KEY", {"TABLE"});
  const StatementRun run = _run(sel, {CDBValue::ofInt(pk)});
  return sel.stmt->next();
}

void CPrstDBSession::_dropReservedKeys(bool savepointOnly) {
  for (auto it = m_keys.begin(); it != m_keys.end();) {
    const bool undone = savepointOnly ? it->second.underSavepoint : it->second.uncommitted;
    it = undone ? m_keys.erase(it) : std::next(it);
  }
}

void CPrstDBSession::_delete(CPrstUserBase& object, bool partial) {
  _touched(object, false);
  const CPrstUserClassPrototype& proto = *object.prototype();
  Prepared& del = _tableStatement(proto, "DELETE_WITHOUT_CURSOR", {"TABLE"});
  if (_affectedRows(del, {CDBValue::ofInt(object.pk()), CDBValue::ofInt(object.rowVersion())}) !=
      1) {
    const std::string header = object.header();
    _abort();
    throw CPrstConflictException(
        nuv::CMessage("Cannot delete object %1.").pushs(header),
        nuv::CMessage("The row was changed or deleted by another transaction."),
        "CPrstDBSession::_delete", __FILE__, __LINE__);
  }
  m_cache.erase({&proto, object.pk()});
  if (partial) return;
  for (auto* a : object.attributes()) a->_onDelete(*this);
  if (object._memberships()) {
    (void)_run(_statement("MSHIP_DELETE"),
               {CDBValue::ofText(proto.table()), CDBValue::ofInt(object.pk())});
  }
}

void CPrstDBSession::_writeMemberships(CPrstUserBase& object, bool inserted) {
  CDomainMemberships* m = object._memberships();
  if (!m || !m->dirty()) return;
  const CDBValue table = CDBValue::ofText(object.prototype()->table());
  const CDBValue pk = CDBValue::ofInt(object.pk());
  // A row just inserted has none to replace (its key is new).
  if (!inserted) (void)_run(_statement("MSHIP_DELETE"), {table, pk});
  Prepared& ins = _statement("MSHIP_INSERT");
  for (const auto& d : m->domains()) (void)_run(ins, {CDBValue::ofInt(d.id()), pk, table});
  m->_clean();
}

void CPrstDBSession::refreshObject(CPrstUserBase& object) {
  _requireThread("CPrstDBSession::refreshObject");
  if (object.isTransient()) return;
  const CPrstUserClassPrototype& proto = *object.prototype();
  Prepared& p = _tableStatement(proto, "SELECT_WITH_PRIMARY_KEY", {"TABLE"});
  bool found = false;
  {
    const StatementRun run = _run(p, {CDBValue::ofInt(object.pk())});
    found = p.stmt->next();
    if (found) _fill(object, p, _columnMap(proto, p));
  }
  if (!found)
    PRST_THROW("CPrstDBSession::refreshObject",
               nuv::CMessage("Cannot refresh object %1.").pushs(object.header()),
               nuv::CMessage("No such object."));
  CPrstObjectAccess::setDeleted(object, false);
  for (auto* a : object.attributes()) a->_onRefresh();
  if (auto* m = object._memberships()) m->_forget();
}

const std::vector<int>& CPrstDBSession::_columnMap(const CPrstUserClassPrototype& proto,
                                                   Prepared& p) {
  auto it = p.maps.find(&proto);
  if (it != p.maps.end()) return it->second;
  auto sample = proto.create(nullptr);
  const auto& attrs = sample->attributes();
  std::vector<int> map;
  bool hasPK = false;
  for (std::size_t i = 0; i < p.stmt->columnCount(); ++i) {
    const std::string& name = p.stmt->columnName(i);
    int idx = kColIgnored;
    if (name == "PK") {
      idx = kColPK;
      hasPK = true;
    } else if (name == "ROW_VERSION") {
      idx = kColVersion;
    } else {
      for (std::size_t a = 0; a < attrs.size(); ++a)
        if (attrs[a]->stored() && nuv::iequals(attrs[a]->column(), name)) idx = static_cast<int>(a);
    }
    map.push_back(idx);
  }
  if (!hasPK)
    PRST_THROW(
        "CPrstDBSession::_columnMap",
        nuv::CMessage("Sql statement '%1' does not return the column PK.").pushs(p.rec->name),
        nuv::CMessage("Objects cannot be made of its rows."));
  return p.maps.emplace(&proto, std::move(map)).first->second;
}

void CPrstDBSession::_fill(CPrstUserBase& object, Prepared& p, const std::vector<int>& map) {
  const auto& attrs = object.attributes();
  for (std::size_t i = 0; i < map.size(); ++i) {
    const int idx = map[i];
    if (idx >= 0)
      attrs[static_cast<std::size_t>(idx)]->fromDB(p.stmt->column(i));
    else if (idx == kColVersion)
      CPrstObjectAccess::setRowVersion(object, p.stmt->column(i).asInt64());
  }
}

nuv::CGeneralPtr<CPrstUserBase> CPrstDBSession::_materialize(const CPrstUserClassPrototype& proto,
                                                             Prepared& p) {
  const auto& map = _columnMap(proto, p);
  const auto pkCol =
      static_cast<std::size_t>(std::find(map.begin(), map.end(), kColPK) - map.begin());
  const auto pk = static_cast<std::int32_t>(p.stmt->column(pkCol).asInt64());
  auto& slot = m_cache[{&proto, pk}];
  if (auto o = slot.lock()) {
    // The loaded object is the session's view of the row; its unsaved
    // changes win over the row, otherwise it takes the row's values.
    if (!o->isDirty() && !o->isDeletedPersistent()) _fill(*o, p, map);
    return o;
  }
  auto o = proto.create(this);
  CPrstObjectAccess::setPK(*o, pk);
  _fill(*o, p, map);
  slot = o;
  return o;
}

// ---- links and memberships -------------------------------------------------

std::vector<std::int32_t> CPrstDBSession::loadLinks(const std::string& linkTable,
                                                    std::int32_t srcPK,
                                                    const std::string& attrName) {
  _requireThread("CPrstDBSession::loadLinks");
  Prepared& p = _statement("LINK_SELECT", linkTable, nullptr, {"TABLE"});
  const StatementRun run = _run(p, {CDBValue::ofInt(srcPK), CDBValue::ofText(attrName)});
  std::vector<std::int32_t> out;
  while (p.stmt->next()) out.push_back(static_cast<std::int32_t>(p.stmt->column(0).asInt64()));
  return out;
}

void CPrstDBSession::writeLinks(const std::string& linkTable, std::int32_t srcPK,
                                const std::string& attrName, const std::string& destProto,
                                const std::vector<std::int32_t>& destPKs) {
  _requireThread("CPrstDBSession::writeLinks");
  _ensureTx("CPrstDBSession::writeLinks");
  (void)_run(_statement("LINK_DELETE", linkTable, nullptr, {"TABLE"}),
             {CDBValue::ofInt(srcPK), CDBValue::ofText(attrName)});
  Prepared& ins = _statement("LINK_INSERT", linkTable, nullptr, {"TABLE"});
  for (std::size_t i = 0; i < destPKs.size(); ++i)
    (void)_run(ins,
               {CDBValue::ofInt(srcPK), CDBValue::ofText(attrName), CDBValue::ofInt(destPKs[i]),
                CDBValue::ofText(destProto), CDBValue::ofInt(static_cast<std::int64_t>(i))});
}

std::set<CDomainID> CPrstDBSession::loadMemberships(const CPrstUserBase& object) {
  _requireThread("CPrstDBSession::loadMemberships");
  Prepared& p = _statement("MSHIP_SELECT");
  const StatementRun run =
      _run(p, {CDBValue::ofText(object.prototype()->table()), CDBValue::ofInt(object.pk())});
  std::set<CDomainID> out;
  while (p.stmt->next()) out.insert(static_cast<std::int32_t>(p.stmt->column(0).asInt64()));
  return out;
}

// ---- queries -------------------------------------------------------------

CPrstRawPage CPrstDBSession::selectRaw(const std::string& protoName, const std::string& statement,
                                       const nuv::CStringMap& args,
                                       const CPrstSelectOptions& options) {
  _requireThread("CPrstDBSession::selectRaw");
  const CPrstUserClassPrototype& proto = prototype(protoName);
  const CSqlStatementRecord& rec = m_spec->get(statement);
  Prepared& p = rec.isTemplate() ? _tableStatement(proto, statement, {}) : _statement(statement);
  const auto params = _args(rec, args, options);
  StatementRun run = _run(p, params);
  run.keepOpen();
  auto cursor = std::make_shared<Cursor>();
  cursor->p = &p;
  cursor->generation = p.generation;
  cursor->proto = &proto;
  if (options.secured) cursor->securedBy = options.token;
  return _fetch(cursor, options.rows);
}

CPrstRawPage CPrstDBSession::selectNextRaw(const std::shared_ptr<CPrstCursor>& cursor,
                                           std::size_t rows) {
  _requireThread("CPrstDBSession::selectNextRaw");
  auto c = std::dynamic_pointer_cast<Cursor>(cursor);
  if (!c) return {};
  return _fetch(c, rows);
}

CPrstRawPage CPrstDBSession::_fetch(const std::shared_ptr<Cursor>& cursor, std::size_t rows) {
  CPrstRawPage page;
  page.cursor = cursor;
  page.securedBy = cursor->securedBy;
  if (cursor->done) return page;
  Prepared& p = *cursor->p;
  if (p.generation != cursor->generation || !p.open)
    PRST_THROW(
        "CPrstDBSession::selectNextRaw",
        nuv::CMessage("Cannot fetch the next rows of sql statement '%1'.").pushs(p.rec->name),
        nuv::CMessage("Failed to continue transaction."));
  rows = std::min(rows, kMaxRowsPerSelect);
  StatementRun run(*this, p);
  while (page.objects.size() < rows) {
    if (!p.stmt->next()) {
      cursor->done = true;
      break;
    }
    page.objects.push_back(_materialize(*cursor->proto, p));
  }
  if (!cursor->done) run.keepOpen();
  return page;
}

std::int64_t CPrstDBSession::selectCount(const std::string& statement, const nuv::CStringMap& args,
                                         const CPrstSelectOptions& options) {
  return selectCount(std::string(), statement, args, options);
}

std::int64_t CPrstDBSession::selectCount(const std::string& protoName, const std::string& statement,
                                         const nuv::CStringMap& args,
                                         const CPrstSelectOptions& options) {
  _requireThread("CPrstDBSession::selectCount");
  const CSqlStatementRecord& rec = m_spec->get(statement);
  Prepared& p = rec.isTemplate() && !protoName.empty()
                    ? _tableStatement(prototype(protoName), statement, {})
                    : _statement(statement);
  const StatementRun run = _run(p, _args(rec, args, options));
  return p.stmt->next() ? p.stmt->column(0).asInt64() : 0;
}

std::vector<CDBValue> CPrstDBSession::selectValues(const std::string& statement,
                                                   const nuv::CStringMap& args,
                                                   const CPrstSelectOptions& options) {
  _requireThread("CPrstDBSession::selectValues");
  const CSqlStatementRecord& rec = m_spec->get(statement);
  Prepared& p = _statement(statement);
  const StatementRun run = _run(p, _args(rec, args, options));
  std::vector<CDBValue> out;
  while (out.size() < options.rows && p.stmt->next()) out.push_back(p.stmt->column(0));
  return out;
}

std::size_t CPrstDBSession::cachedObjects() const {
  return static_cast<std::size_t>(std::count_if(m_cache.begin(), m_cache.end(),
                                                [](const auto& e) { return !e.second.expired(); }));
}
