#include "plugins/sqlite_db/CSQLiteConnection.h"

#include <sqlite3.h>

#include <cctype>
#include <utility>
#include <vector>

#include "oodb/CPrstException.h"
#include "plugins/sqlite_db/CSQLiteCheckpointer.h"

namespace {

// rc is an extended result code (the connection asks for them).
[[noreturn]] void fail(sqlite3* db, int rc, const char* context, nuv::CMessage what) {
  const int code = rc & 0xff;
  nuv::CMessage why(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
  if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
    throw CPrstConflictException(std::move(what), std::move(why), context, __FILE__, __LINE__);
  // The disk is full or failing: nothing can be stored until that ends.
  if (code == SQLITE_FULL || code == SQLITE_IOERR)
    throw CPrstUnavailableException(std::move(what), std::move(why), context, __FILE__, __LINE__);
  if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
    throw CPrstDuplicateException(std::move(what), std::move(why), context, __FILE__, __LINE__);
  throw CPrstException(std::move(what), std::move(why), context, __FILE__, __LINE__);
}

class CSQLiteStatement : public CSqlStatement {
 public:
  CSQLiteStatement(sqlite3* db, std::string name, const std::string& sql)
      : m_db(db), m_name(std::move(name)) {
    const int rc = sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
    if (rc != SQLITE_OK)
      fail(db, rc, "CSQLiteConnection::prepare",
           nuv::CMessage("Cannot precompile sql statement '%1'.").pushs(m_name));
    for (int i = 0; i < sqlite3_column_count(m_stmt); ++i) {
      std::string n = sqlite3_column_name(m_stmt, i);
      for (auto& c : n) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      m_columns.push_back(std::move(n));
    }
  }
  ~CSQLiteStatement() override { sqlite3_finalize(m_stmt); }

  void execute(const std::vector<CDBValue>& params) override {
    sqlite3_reset(m_stmt);
    m_done = false;
    m_pending = false;
    for (std::size_t i = 0; i < params.size(); ++i) {
      const int at = static_cast<int>(i + 1);
      const CDBValue& v = params[i];
      switch (v.kind()) {
        case CDBValue::null:
          sqlite3_bind_null(m_stmt, at);
          break;
        case CDBValue::integer:
          sqlite3_bind_int64(m_stmt, at, v.asInt64());
          break;
        case CDBValue::real:
          sqlite3_bind_double(m_stmt, at, v.asDouble());
          break;
        case CDBValue::text:
          sqlite3_bind_text(m_stmt, at, v.textRef().data(), static_cast<int>(v.textRef().size()),
                            SQLITE_TRANSIENT);
          break;
      }
    }
    // The first step runs the statement; a row it yields is kept for next().
    m_pending = _step();
  }

  bool next() override {
    if (m_pending) {
      m_pending = false;
      return true;
    }
    return !m_done && _step();
  }

  std::size_t columnCount() const override { return m_columns.size(); }
  const std::string& columnName(std::size_t i) const override { return m_columns.at(i); }
  CDBValue column(std::size_t i) const override {
    const int at = static_cast<int>(i);
    switch (sqlite3_column_type(m_stmt, at)) {
      case SQLITE_NULL:
        return {};
      case SQLITE_INTEGER:
        return CDBValue::ofInt(sqlite3_column_int64(m_stmt, at));
      case SQLITE_FLOAT:
        return CDBValue::ofReal(sqlite3_column_double(m_stmt, at));
      default:
        return CDBValue::ofText(
            std::string(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, at)),
                        static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, at))));
    }
  }
  std::int64_t affectedRows() const override { return m_changes; }
  void reset() override {
    sqlite3_reset(m_stmt);
    m_done = true;
    m_pending = false;
  }

 private:
  bool _step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) return true;
    m_done = true;
    if (rc == SQLITE_DONE) {
      m_changes = sqlite3_changes64(m_db);
      return false;
    }
    sqlite3_reset(m_stmt);
    fail(m_db, rc, "CSQLiteConnection::execute",
         nuv::CMessage("Cannot run sql statement '%1'.").pushs(m_name));
  }

  sqlite3* m_db;
  sqlite3_stmt* m_stmt = nullptr;
  std::string m_name;
  std::vector<std::string> m_columns;
  bool m_done = true;
  bool m_pending = false;
  std::int64_t m_changes = 0;
};

}  // namespace

CSQLiteConnection::CSQLiteConnection(const std::string& path, bool flushEveryCommit,
                                     std::shared_ptr<CSQLiteCheckpointer> checkpointer)
    : m_checkpointer(std::move(checkpointer)) {
  const int rc =
      sqlite3_open_v2(path.c_str(), &m_db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string why = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    PRST_THROW("CSQLiteConnection::CSQLiteConnection",
               nuv::CMessage("Cannot open database '%1'.").pushs(path), nuv::CMessage(why));
  }
  sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
  // A unique key's refusal must be told from other constraint failures.
  sqlite3_extended_result_codes(m_db, 1);
  try {
    // WAL: readers see the last commit while a writer works. NORMAL sync
    // (the log is flushed at checkpoints) keeps every commit across a
    // process crash; a power loss may drop the commits since the last
    // checkpoint. FULL flushes the log at every commit: durable across a
    // power loss too, at the cost of one fsync per commit.
    // A new database gets 2 KB pages (set before WAL mode writes the
    // header; an existing file keeps its own): a lease touches about ten
    // pages per commit, each copied whole into the log and checksummed,
    // so smaller pages halve the bytes written per message.
    executeScript("PRAGMA page_size=2048;");
    executeScript(std::string("PRAGMA journal_mode=WAL; PRAGMA synchronous=") +
                  (flushEveryCommit ? "FULL" : "NORMAL") + "; PRAGMA foreign_keys=OFF;");
    // Each commit by another connection (another worker) empties this
    // connection's page cache; through a memory map the pages come back
    // without a read call each.
    executeScript("PRAGMA mmap_size=268435456;");
    // A file that is not a database only shows on the first read.
    executeScript("SELECT COUNT(*) FROM sqlite_master;");
    if (m_checkpointer) m_checkpointer->watch(m_db);
  } catch (const nuv::CException& e) {
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    PRST_THROW("CSQLiteConnection::CSQLiteConnection",
               nuv::CMessage("Cannot open database '%1'.").pushs(path), nuv::CMessage(e.whyText()));
  }
}

CSQLiteConnection::~CSQLiteConnection() {
  sqlite3_close_v2(m_db);
}

std::unique_ptr<CSqlStatement> CSQLiteConnection::prepare(const std::string& name,
                                                          const std::string& sql) {
  return std::make_unique<CSQLiteStatement>(m_db, name, sql);
}

void CSQLiteConnection::executeScript(const std::string& sql) {
  char* err = nullptr;
  const int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &err);
  if (rc == SQLITE_OK) return;
  std::string why = err ? err : sqlite3_errstr(rc);
  sqlite3_free(err);
  const int code = rc & 0xff;
  if (code == SQLITE_FULL || code == SQLITE_IOERR)
    throw CPrstUnavailableException(nuv::CMessage("Cannot run sql script."), nuv::CMessage(why),
                                    "CSQLiteConnection::executeScript", __FILE__, __LINE__);
  PRST_THROW("CSQLiteConnection::executeScript", nuv::CMessage("Cannot run sql script."),
             nuv::CMessage(why));
}

void CSQLiteConnection::recover() {
  // A write that failed (disk full) may leave its transaction open when
  // the rollback after it failed too; the next one cannot begin inside it.
  if (!sqlite3_get_autocommit(m_db)) executeScript("ROLLBACK;");
}
