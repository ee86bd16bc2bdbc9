#include "plugins/sqlite_db/CSQLiteCheckpointer.h"

#include <sqlite3.h>

#include <utility>

CSQLiteCheckpointer::CSQLiteCheckpointer(std::string path, std::chrono::milliseconds interval,
                                         int logPages)
    : m_path(std::move(path)), m_interval(interval), m_logPages(logPages), m_mark(logPages) {
  m_thread = std::thread([this] { _run(); });
}

CSQLiteCheckpointer::~CSQLiteCheckpointer() {
  {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = true;
  }
  m_wake.notify_one();
  m_thread.join();
}

void CSQLiteCheckpointer::watch(sqlite3* connection) {
  // Replaces SQLite's own automatic checkpoints, which use the same hook.
  sqlite3_wal_hook(connection, &CSQLiteCheckpointer::_committed, this);
}

int CSQLiteCheckpointer::_committed(void* self, sqlite3*, const char*, int pages) {
  auto* me = static_cast<CSQLiteCheckpointer*>(self);
  // A shorter log than before: it started over after a complete checkpoint.
  if (pages < me->m_lastLog.exchange(pages, std::memory_order_relaxed))
    me->m_mark.store(me->m_logPages, std::memory_order_relaxed);
  me->m_dirty.store(true, std::memory_order_relaxed);
  // Only the commit that crosses the mark wakes the thread.
  if (pages >= me->m_mark.load(std::memory_order_relaxed) && !me->m_due.exchange(true)) {
    { const std::lock_guard<std::mutex> lock(me->m_mutex); }
    me->m_wake.notify_one();
  }
  return SQLITE_OK;
}

int CSQLiteCheckpointer::_busy(void*, int attempts) {
  if (attempts >= kBusyAttempts) return 0;
  std::this_thread::sleep_for(kBusyPause);
  return 1;
}

void CSQLiteCheckpointer::_run() {
  sqlite3* db = nullptr;
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_stop) {
    m_wake.wait_for(lock, m_interval, [this] { return m_stop || m_due.load(); });
    if (m_stop) break;
    if (!m_dirty.exchange(false)) continue;
    lock.unlock();
    // A failed one (a full disk) leaves the log as it is; the writers report
    // their own failures, and the next round tries again.
    if (!_checkpoint(db)) m_dirty.store(true);
    // Commits during the checkpoint that found the log long found it
    // before it started over.
    m_due.store(false);
    lock.lock();
  }
  lock.unlock();
  sqlite3_close_v2(db);
}

bool CSQLiteCheckpointer::_checkpoint(sqlite3*& db) {
  if (!db) {
    if (sqlite3_open_v2(m_path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
      sqlite3_close_v2(db);
      db = nullptr;
      return false;
    }
    // Short waits: writers queue behind a restarting checkpoint that waits.
    sqlite3_busy_handler(db, &CSQLiteCheckpointer::_busy, nullptr);
    sqlite3_wal_hook(db, nullptr, nullptr);
    // A connection finds the log only once it has read the file.
    if (sqlite3_exec(db, "SELECT COUNT(*) FROM sqlite_master;", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
      sqlite3_close_v2(db);
      db = nullptr;
      return false;
    }
  }
  int log = 0, copied = 0;
  int rc = sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, &log, &copied);
  if (rc == SQLITE_OK && m_lastLog.load(std::memory_order_relaxed) >= m_logPages) {
    // Writers appended while the pages were copied, and the log starts over
    // only when a transaction begins with all of it copied: that moment may
    // never come under load. The pages appended since are few, so writers
    // now wait briefly while they are copied too and the log restarts.
    rc = sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_RESTART, &log, &copied);
  }
  // Not all copied (writers kept the restart from waiting long enough): the
  // next checkpoint waits for as many pages more, not for every commit.
  m_mark.store(copied >= log ? m_logPages : log + m_logPages, std::memory_order_relaxed);
  return rc == SQLITE_OK || rc == SQLITE_BUSY;
}
