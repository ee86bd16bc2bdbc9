#pragma once
// One PostgreSQL connection (one per thread). Statements are prepared on
// the server once per connection; the "?" placeholders of the statement
// files become $1, $2, ... here. Parameters and results travel as text.
// BEGIN waits for the transaction's first statement and goes with it in one
// round trip (a transaction that sends nothing costs none).
// A serialization failure, deadlock or lock timeout is a conflict; a
// connection the server closed makes the database unavailable until
// recover() has opened a new one (tried at most once a second).

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "oodb_persistence/CSqlConnection.h"

struct pg_conn;
struct pg_result;

class CPgConnection : public CSqlConnection {
 public:
  // Connects; throws "Cannot open database '%1'." (where) on failure.
  CPgConnection(const std::string& connInfo, const std::string& where);
  ~CPgConnection() override;

  std::string dialect() const override { return "pgsql"; }
  std::unique_ptr<CSqlStatement> prepare(const std::string& name, const std::string& sql) override;
  void executeScript(const std::string& sql) override;
  void recover() override;

  // "?" placeholders outside quoted literals as "$1", "$2", ...
  static std::string numberPlaceholders(const std::string& sql);

 private:
  class Statement;
  static constexpr std::chrono::seconds kRetryInterval{1};

  // Sends the pending BEGIN and the prepared statement in one round trip;
  // the statement's result.
  pg_result* _runAfterBegin(const std::string& serverName, const std::vector<const char*>& values);

  pg_conn* m_conn = nullptr;
  std::string m_where;
  unsigned m_serial = 0;
  // Every statement prepared, by server-side name, for a new connection.
  std::vector<std::pair<std::string, std::string>> m_statements;
  std::chrono::steady_clock::time_point m_nextAttempt{};
  bool m_unprepared = false;
  // BEGIN was asked for and not sent yet.
  bool m_beginPending = false;
};
