#pragma once
// One SQLite connection (one per thread): write-ahead log, so readers never
// wait for the writer; a busy timeout, after which a lock conflict is
// reported as a conflict.

#include <memory>
#include <string>

#include "oodb_persistence/CSqlConnection.h"

struct sqlite3;
class CSQLiteCheckpointer;

class CSQLiteConnection : public CSqlConnection {
 public:
  static constexpr int kBusyTimeoutMs = 10000;

  // Opens (creating) the database file; throws "Cannot open database '%1'.".
  // flushEveryCommit: a commit returns only once it is on disk
  // (synchronous FULL), not only in the operating system's cache.
  // checkpointer: copies the log back into the file instead of this
  // connection's commits (kept until the connection closes).
  explicit CSQLiteConnection(const std::string& path, bool flushEveryCommit = false,
                             std::shared_ptr<CSQLiteCheckpointer> checkpointer = nullptr);
  ~CSQLiteConnection() override;

  std::string dialect() const override { return "sqlite"; }
  std::unique_ptr<CSqlStatement> prepare(const std::string& name, const std::string& sql) override;
  void executeScript(const std::string& sql) override;
  void recover() override;

 private:
  sqlite3* m_db = nullptr;
  std::shared_ptr<CSQLiteCheckpointer> m_checkpointer;
};
