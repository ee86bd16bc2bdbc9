#pragma once
// One SQLite connection (one per thread): write-ahead log, so readers never
// wait for the writer; a busy timeout, after which a lock conflict is
// reported as a conflict.

#include <string>

#include "oodb_persistence/CSqlConnection.h"

struct sqlite3;

class CSQLiteConnection : public CSqlConnection {
 public:
  static constexpr int kBusyTimeoutMs = 10000;

  // Opens (creating) the database file; throws "Cannot open database '%1'.".
  // flushEveryCommit: a commit returns only once it is on disk
  // (synchronous FULL), not only in the operating system's cache.
  explicit CSQLiteConnection(const std::string& path, bool flushEveryCommit = false);
  ~CSQLiteConnection() override;

  std::string dialect() const override { return "sqlite"; }
  std::unique_ptr<CSqlStatement> prepare(const std::string& name, const std::string& sql) override;
  void executeScript(const std::string& sql) override;
  void recover() override;

 private:
  sqlite3* m_db = nullptr;
};
