#include "plugins/pg_db/CPgConnection.h"

#include <libpq-fe.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <utility>
#include <vector>

#include "oodb/CPrstException.h"
#include "standard/StringUtil.h"

namespace {

std::string errorText(PGconn* conn, const PGresult* res) {
  return nuv::trim(res ? PQresultErrorMessage(res) : PQerrorMessage(conn));
}

[[noreturn]] void fail(PGconn* conn, PGresult* res, const char* context, nuv::CMessage what) {
  const char* state = res ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : nullptr;
  nuv::CMessage why(errorText(conn, res));
  const std::string code = state ? state : "";
  PQclear(res);
  // A connection the server closed, or one of the classes connection
  // exception (08), insufficient resources (53: disk full, out of memory,
  // too many connections) and operator intervention (57: shutdown).
  if (PQstatus(conn) == CONNECTION_BAD || code.rfind("08", 0) == 0 || code.rfind("53", 0) == 0 ||
      code.rfind("57", 0) == 0)
    throw CPrstUnavailableException(std::move(what), std::move(why), context, __FILE__, __LINE__);
  // serialization_failure, deadlock_detected, lock_not_available
  if (code == "40001" || code == "40P01" || code == "55P03")
    throw CPrstConflictException(std::move(what), std::move(why), context, __FILE__, __LINE__);
  if (code == "23505")  // unique_violation
    throw CPrstDuplicateException(std::move(what), std::move(why), context, __FILE__, __LINE__);
  throw CPrstException(std::move(what), std::move(why), context, __FILE__, __LINE__);
}

void prepareOnServer(PGconn* conn, const std::string& name, const std::string& serverName,
                     const std::string& sql) {
  PGresult* res = PQprepare(conn, serverName.c_str(), sql.c_str(), 0, nullptr);
  if (PQresultStatus(res) != PGRES_COMMAND_OK)
    fail(conn, res, "CPgConnection::prepare",
         nuv::CMessage("Cannot precompile sql statement '%1'.").pushs(name));
  PQclear(res);
}

}  // namespace

// A statement of the connection. BEGIN is not sent on its own: it goes in
// one round trip with the transaction's first statement (libpq's pipeline
// mode), and COMMIT or ROLLBACK of a transaction that sent nothing is not
// sent at all.
class CPgConnection::Statement : public CSqlStatement {
 public:
  enum class Kind { plain, begin, end };

  // sql with numbered placeholders.
  Statement(CPgConnection& connection, std::string name, std::string serverName,
            const std::string& sql, Kind kind)
      : m_connection(connection),
        m_name(std::move(name)),
        m_server(std::move(serverName)),
        m_kind(kind) {
    if (kind == Kind::begin) return;
    PGconn* conn = connection.m_conn;
    prepareOnServer(conn, m_name, m_server, sql);
    PGresult* res = PQdescribePrepared(conn, m_server.c_str());
    if (PQresultStatus(res) != PGRES_COMMAND_OK)
      fail(conn, res, "CPgConnection::prepare",
           nuv::CMessage("Cannot precompile sql statement '%1'.").pushs(m_name));
    for (int i = 0; i < PQnfields(res); ++i) {
      std::string n = PQfname(res, i);
      for (auto& c : n) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      m_columns.push_back(std::move(n));
    }
    PQclear(res);
  }
  ~Statement() override { PQclear(m_res); }

  void execute(const std::vector<CDBValue>& params) override {
    reset();
    if (m_kind == Kind::begin) {
      m_connection.m_beginPending = true;
      return;
    }
    if (m_kind == Kind::end && std::exchange(m_connection.m_beginPending, false)) return;
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
      if (params[i].isNull()) continue;
      texts[i] = params[i].asText();
      values[i] = texts[i].c_str();
    }
    PGconn* conn = m_connection.m_conn;
    PGresult* res = m_connection.m_beginPending
                        ? m_connection._runAfterBegin(m_server, values)
                        : PQexecPrepared(conn, m_server.c_str(), static_cast<int>(values.size()),
                                         values.data(), nullptr, nullptr, 0);
    const auto status = PQresultStatus(res);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
      fail(conn, res, "CPgConnection::execute",
           nuv::CMessage("Cannot run sql statement '%1'.").pushs(m_name));
    m_res = res;
    m_rows = PQntuples(res);
    const char* changed = PQcmdTuples(res);
    m_changes = changed && *changed ? std::atoll(changed) : 0;
  }
  bool next() override { return m_res && ++m_row < m_rows; }
  std::size_t columnCount() const override { return m_columns.size(); }
  const std::string& columnName(std::size_t i) const override { return m_columns.at(i); }
  CDBValue column(std::size_t i) const override {
    const int at = static_cast<int>(i);
    if (!m_res || m_row < 0 || m_row >= m_rows || PQgetisnull(m_res, m_row, at)) return {};
    return CDBValue::ofText(std::string(PQgetvalue(m_res, m_row, at),
                                        static_cast<std::size_t>(PQgetlength(m_res, m_row, at))));
  }
  std::int64_t affectedRows() const override { return m_changes; }
  void reset() override {
    PQclear(m_res);
    m_res = nullptr;
    m_row = -1;
    m_rows = 0;
  }

 private:
  CPgConnection& m_connection;
  std::string m_name;
  std::string m_server;
  const Kind m_kind;
  std::vector<std::string> m_columns;
  PGresult* m_res = nullptr;
  int m_row = -1;
  int m_rows = 0;
  std::int64_t m_changes = 0;
};

namespace {

void quiet(void*, const char*) {}

}  // namespace

std::string CPgConnection::numberPlaceholders(const std::string& sql) {
  std::string out;
  out.reserve(sql.size() + 16);
  bool quoted = false;
  int n = 0;
  for (char c : sql) {
    if (c == '\'') quoted = !quoted;
    if (c == '?' && !quoted) {
      out += "$" + std::to_string(++n);
      continue;
    }
    out += c;
  }
  return out;
}

CPgConnection::CPgConnection(const std::string& connInfo, const std::string& where)
    : m_where(where) {
  m_conn = PQconnectdb(connInfo.c_str());
  if (PQstatus(m_conn) != CONNECTION_OK) {
    const std::string why = errorText(m_conn, nullptr);
    PQfinish(m_conn);
    m_conn = nullptr;
    throw CPrstUnavailableException(nuv::CMessage("Cannot open database '%1'.").pushs(where),
                                    nuv::CMessage(why), "CPgConnection::CPgConnection", __FILE__,
                                    __LINE__);
  }
  PQsetNoticeProcessor(m_conn, quiet, nullptr);
}

void CPgConnection::recover() {
  if (PQstatus(m_conn) == CONNECTION_OK && !m_unprepared) return;
  // Every transaction of every thread comes here while the server is
  // away: one attempt a second, not one a message.
  const auto now = std::chrono::steady_clock::now();
  if (now < m_nextAttempt)
    throw CPrstUnavailableException(nuv::CMessage("Cannot open database '%1'.").pushs(m_where),
                                    nuv::CMessage("The connection was lost."),
                                    "CPgConnection::recover", __FILE__, __LINE__);
  m_nextAttempt = now + kRetryInterval;
  if (PQstatus(m_conn) != CONNECTION_OK) {
    PQreset(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK)
      throw CPrstUnavailableException(nuv::CMessage("Cannot open database '%1'.").pushs(m_where),
                                      nuv::CMessage(errorText(m_conn, nullptr)),
                                      "CPgConnection::recover", __FILE__, __LINE__);
  }
  // Prepared statements live in the server's session: the new one needs
  // them all again, under the names the statement objects know. Until all
  // are there the connection is not usable.
  m_unprepared = true;
  executeScript("DEALLOCATE ALL");
  for (const auto& [serverName, sql] : m_statements)
    prepareOnServer(m_conn, serverName, serverName, sql);
  m_unprepared = false;
  m_nextAttempt = {};  // only failed attempts wait for the next second
}

CPgConnection::~CPgConnection() {
  PQfinish(m_conn);
}

std::unique_ptr<CSqlStatement> CPgConnection::prepare(const std::string& name,
                                                      const std::string& sql) {
  std::string word = nuv::trim(sql);
  for (auto& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const Statement::Kind kind = word == "BEGIN"                          ? Statement::Kind::begin
                               : word == "COMMIT" || word == "ROLLBACK" ? Statement::Kind::end
                                                                        : Statement::Kind::plain;
  std::string serverName = "s" + std::to_string(++m_serial);
  std::string numbered = numberPlaceholders(sql);
  auto statement = std::make_unique<Statement>(*this, name, serverName, numbered, kind);
  if (kind != Statement::Kind::begin)
    m_statements.emplace_back(std::move(serverName), std::move(numbered));
  return statement;
}

void CPgConnection::executeScript(const std::string& sql) {
  if (std::exchange(m_beginPending, false)) executeScript("BEGIN");
  PGresult* res = PQexec(m_conn, sql.c_str());
  const auto status = PQresultStatus(res);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    fail(m_conn, res, "CPgConnection::executeScript", nuv::CMessage("Cannot run sql script."));
  PQclear(res);
}

PGresult* CPgConnection::_runAfterBegin(const std::string& serverName,
                                        const std::vector<const char*>& values) {
  for (int attempt = 0;; ++attempt) {
    std::vector<PGresult*> results;
    const bool sent =
        PQenterPipelineMode(m_conn) == 1 &&
        PQsendQueryParams(m_conn, "BEGIN", 0, nullptr, nullptr, nullptr, nullptr, 0) == 1 &&
        PQsendQueryPrepared(m_conn, serverName.c_str(), static_cast<int>(values.size()),
                            values.data(), nullptr, nullptr, 0) == 1 &&
        PQpipelineSync(m_conn) == 1;
    if (sent) {
      // BEGIN's result, the statement's, each followed by a null, then the sync.
      for (int nulls = 0; nulls <= 2 && PQstatus(m_conn) == CONNECTION_OK;) {
        PGresult* r = PQgetResult(m_conn);
        if (!r) {
          ++nulls;
          continue;
        }
        if (PQresultStatus(r) == PGRES_PIPELINE_SYNC) {
          PQclear(r);
          break;
        }
        results.push_back(r);
      }
    }
    if (PQexitPipelineMode(m_conn) != 1) {
      // Results the exchange did not account for: start afresh rather than
      // leave the connection in pipeline mode.
      PQreset(m_conn);
      m_unprepared = true;
    }
    const bool begun = !results.empty() && PQresultStatus(results[0]) == PGRES_COMMAND_OK;
    if (begun && results.size() == 2) {
      m_beginPending = false;
      PQclear(results[0]);
      return results[1];
    }
    PGresult* failed = nullptr;
    for (PGresult* r : results) {
      if (!failed && PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)
        failed = r;
      else
        PQclear(r);
    }
    // A connection the server ended since the last transaction shows only
    // now; nothing of this one reached it, so it runs once more on a new
    // connection.
    if (!begun && attempt == 0 && PQstatus(m_conn) != CONNECTION_OK) {
      PQclear(failed);
      m_beginPending = false;  // recovering runs statements of its own
      recover();
      m_beginPending = true;
      continue;
    }
    m_beginPending = false;
    fail(m_conn, failed, "CPgConnection::execute",
         nuv::CMessage("Cannot begin a database transaction."));
  }
}
