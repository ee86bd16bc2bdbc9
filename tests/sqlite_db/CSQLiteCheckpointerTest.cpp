#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "plugins/sqlite_db/CSQLiteCheckpointer.h"
#include "plugins/sqlite_db/CSQLiteConnection.h"
#include "tests/fixtures/TempPath.h"

namespace {

using namespace std::chrono_literals;

// Commits through a watched connection reach the database file although the
// connection itself never checkpoints: at once when the log is long, else
// after the interval. The file grows only when a checkpoint copies pages
// into it.
class CSQLiteCheckpointerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
  }
  void TearDown() override { SetUp(); }

  // A watched connection with a table of page-sized rows; the file's size then.
  std::uintmax_t open(std::chrono::milliseconds interval, int logPages) {
    checkpointer = std::make_shared<CSQLiteCheckpointer>(path, interval, logPages);
    conn = std::make_unique<CSQLiteConnection>(path, false, checkpointer);
    conn->executeScript("CREATE TABLE t (b BLOB);");
    return std::filesystem::file_size(path);
  }
  // Rows of about a page each (pages of 2 KB), committed in one transaction.
  void write(int rows) {
    conn->executeScript(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(rows) + ") INSERT INTO t SELECT randomblob(1800) FROM n;");
  }
  // Whether the file reaches the size within ten seconds.
  bool fileReaches(std::uintmax_t size) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::filesystem::file_size(path) < size) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(10ms);
    }
    return true;
  }

  const std::string path = tempPath("checkpointer.db");
  std::shared_ptr<CSQLiteCheckpointer> checkpointer;
  std::unique_ptr<CSQLiteConnection> conn;
};

}  // namespace

TEST_F(CSQLiteCheckpointerTest, ALongLogIsCopiedBackAtOnce) {
  // Well under SQLite's own mark of 1,000 pages, and an interval no test waits for.
  const auto empty = open(std::chrono::hours(1), 64);
  write(20);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(std::filesystem::file_size(path), empty) << "a short log waits";
  write(200);
  EXPECT_TRUE(fileReaches(empty + 200 * 2048));
}

TEST_F(CSQLiteCheckpointerTest, AShortLogIsCopiedBackAfterTheInterval) {
  const auto empty = open(50ms, 1 << 20);
  write(20);
  EXPECT_TRUE(fileReaches(empty + 20 * 2048));
  // And again for the commits after that checkpoint.
  const auto once = std::filesystem::file_size(path);
  write(20);
  EXPECT_TRUE(fileReaches(once + 20 * 2048));
}

TEST_F(CSQLiteCheckpointerTest, AConnectionOutlivesTheCheckpointersOtherOwners) {
  open(50ms, 1 << 20);
  checkpointer.reset();  // as when the plug-in closes before a session
  write(20);
  conn.reset();  // the last owner: the thread stops here
  SUCCEED();
}
