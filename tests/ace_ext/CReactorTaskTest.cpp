#include <gtest/gtest.h>

#include <atomic>

#include "ace_ext/CReactorTask.h"
#include "tests/fixtures/CWatchdog.h"

namespace {

// One thread blocked in the reactor with no time limit.
class CBlockingTask : public CReactorTask {
 public:
  CBlockingTask() : CReactorTask("blocking", 1) {}
  ~CBlockingTask() override { shutdown(); }
  std::atomic<int> rounds{0};

 protected:
  int _init() override { return 0; }
  int _daemon() override {
    selectReactor().takeOwnership();
    while (!stopRequested()) {
      reactor()->handle_events();
      ++rounds;
    }
    return 0;
  }
};

TEST(CReactorTask, ShutdownWakesTheThreadWaitingInTheReactor) {
  CWatchdog dog;
  CBlockingTask task;
  ASSERT_EQ(0, task.run());
  EXPECT_EQ(0, task.shutdown());
  EXPECT_EQ(0u, task.thr_count());
}

}  // namespace
