#pragma once
// One PostgreSQL connection (one per thread). Statements are prepared on
// the server once per connection; the "?" placeholders of the statement
// files become $1, $2, ... here. Parameters and results travel as text.
// A serialization failure, deadlock or lock timeout is a conflict.

#include <string>

#include "oodb_persistence/CSqlConnection.h"

struct pg_conn;

class CPgConnection : public CSqlConnection {
 public:
  // Connects; throws "Cannot open database '%1'." (where) on failure.
  CPgConnection(const std::string& connInfo, const std::string& where);
  ~CPgConnection() override;

  std::string dialect() const override { return "pgsql"; }
  std::unique_ptr<CSqlStatement> prepare(const std::string& name, const std::string& sql) override;
  void executeScript(const std::string& sql) override;

  // "?" placeholders outside quoted literals as "$1", "$2", ...
  static std::string numberPlaceholders(const std::string& sql);

 private:
  pg_conn* m_conn = nullptr;
  unsigned m_serial = 0;
};
