#pragma once
// Checkpoints for one SQLite file, on a thread of their own. Left to
// SQLite, the writer whose commit takes the log past 1,000 pages copies the
// log into the database file and flushes both, holding the write lock:
// every 60 to 80 messages one waited for the disk, and the other workers
// waited for it. Here the writers' connections never checkpoint; each
// commit tells the checkpointer how long the log is, and it copies the log
// back without blocking them (a passive checkpoint) once the log reaches
// logPages pages, and at the latest interval after a commit.
//
// Writers append while a passive checkpoint copies, and the log starts over
// only when a transaction begins with all of it copied, which under load
// may never happen. So a checkpoint that the log's length made due is
// followed by a restarting one: writers wait while it copies the few pages
// appended meanwhile, and the log starts over (its file stays bounded).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

struct sqlite3;

class CSQLiteCheckpointer {
 public:
  static constexpr std::chrono::milliseconds kInterval{1000};
  static constexpr int kLogPages = 8192;

  // Starts the thread; its connection opens path when it first checkpoints.
  explicit CSQLiteCheckpointer(std::string path, std::chrono::milliseconds interval = kInterval,
                               int logPages = kLogPages);
  // Stops the thread (a checkpoint under way ends first).
  ~CSQLiteCheckpointer();
  CSQLiteCheckpointer(const CSQLiteCheckpointer&) = delete;
  CSQLiteCheckpointer& operator=(const CSQLiteCheckpointer&) = delete;

  // Hands the commits of the connection to this checkpointer and turns off
  // the connection's own checkpoints. The connection must close before this
  // object goes.
  void watch(sqlite3* connection);

 private:
  // A lock another connection holds: retried every kBusyPause, up to
  // kBusyAttempts times (SQLite's busy handler).
  static int _busy(void*, int attempts);
  static constexpr std::chrono::microseconds kBusyPause{100};
  static constexpr int kBusyAttempts = 500;
  // A commit left the log with pages pages (SQLite's WAL hook).
  static int _committed(void* self, sqlite3*, const char*, int pages);
  void _run();
  // One checkpoint; false when it could not be made (tried again later).
  bool _checkpoint(sqlite3*& db);

  const std::string m_path;
  const std::chrono::milliseconds m_interval;
  const int m_logPages;
  std::atomic<bool> m_dirty{false};  // committed since the last checkpoint began
  std::atomic<bool> m_due{false};    // the log is long: checkpoint now
  std::atomic<int> m_lastLog{0};     // the log's pages after the last commit
  std::atomic<int> m_mark;           // the log's pages that make a checkpoint due
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stop = false;
  std::thread m_thread;
};
