#include <ace/Thread.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "ace_ext/CTask.h"
#include "tests/fixtures/CWatchdog.h"
#include "tests/fixtures/FailureOf.h"

namespace {

using namespace std::chrono_literals;

// Records what its threads do; the main loop waits for the stop flag.
class CProbeTask : public CTask {
 public:
  using InitFn = std::function<int(CProbeTask&, long index)>;

  CProbeTask(unsigned threads, InitFn init = nullptr)
      : CTask("probe", threads), m_initFn(std::move(init)) {}
  ~CProbeTask() override { shutdown(); }

  long indexOf(ACE_thread_t t) const { return _threadIndex(t); }

  std::mutex mutex;
  std::condition_variable cv;
  std::vector<long> initOrder;
  std::vector<long> inLoop;  // indexes of threads that entered _daemon
  int daemonsEnded = 0;
  int maxConcurrentInit = 0;
  std::vector<std::string> unhandled;

 protected:
  int _init() override {
    const long index = _threadIndex(ACE_Thread::self());
    const int concurrent = ++m_inInit;
    {
      std::lock_guard<std::mutex> lock(mutex);
      initOrder.push_back(index);
      maxConcurrentInit = std::max(maxConcurrentInit, concurrent);
    }
    std::this_thread::sleep_for(2ms);  // widens the window for a second starter
    const int rc = m_initFn ? m_initFn(*this, index) : 0;
    --m_inInit;
    return rc;
  }
  int _daemon() override {
    std::unique_lock<std::mutex> lock(mutex);
    inLoop.push_back(_threadIndex(ACE_Thread::self()));
    cv.notify_all();
    cv.wait(lock, [this] { return stopRequested(); });
    ++daemonsEnded;
    return 0;
  }
  void _wakeLoops() override {
    std::lock_guard<std::mutex> lock(mutex);
    cv.notify_all();
  }
  void _unhandled(const nuv::CException& e) override { unhandled.push_back(e.whatText()); }

 private:
  InitFn m_initFn;
  std::atomic<int> m_inInit{0};
};

TEST(CTask, ThreadsInitialiseOneAtATimeInCreationOrder) {
  CWatchdog dog;
  CProbeTask task(4);
  ASSERT_EQ(0, task.run());
  {
    // run() returns once thread 0 has initialised.
    std::lock_guard<std::mutex> lock(task.mutex);
    ASSERT_FALSE(task.initOrder.empty());
    EXPECT_EQ(0, task.initOrder.front());
  }
  EXPECT_TRUE(task.running());
  EXPECT_EQ(0, task.shutdown());
  EXPECT_EQ((std::vector<long>{0, 1, 2, 3}), task.initOrder);
  EXPECT_EQ(1, task.maxConcurrentInit);
}

// The engine's later threads ask thread 0's loop a question during _init.
TEST(CTask, LaterThreadsStartWhileThreadZeroIsInItsLoop) {
  CWatchdog dog;
  bool sawLoop = false;
  CProbeTask task(2, [&](CProbeTask& t, long index) {
    if (index == 0) return 0;
    std::unique_lock<std::mutex> lock(t.mutex);
    sawLoop = t.cv.wait_for(lock, 5s, [&] { return !t.inLoop.empty(); });
    return 0;
  });
  ASSERT_EQ(0, task.run());
  task.shutdown();
  EXPECT_TRUE(sawLoop);
  EXPECT_EQ((std::vector<long>{0, 1}), task.inLoop);
}

TEST(CTask, FailingStarts) {
  struct Case {
    const char* name;
    long failingIndex;
    bool raise;
    int runResult;
    std::vector<long> initOrder;
    std::size_t loops;
  };
  const Case cases[] = {
      {"thread 0 returns a code", 0, false, 7, {0}, 0},
      {"thread 0 raises", 0, true, -1, {0}, 0},
      {"a later thread fails alone", 1, false, 0, {0, 1, 2}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWatchdog dog;
    CProbeTask task(3, [&](CProbeTask&, long index) {
      if (index != c.failingIndex) return 0;
      if (c.raise) NUV_THROW("CProbeTask::_init", "Probe failed.", "On purpose.");
      return 7;
    });
    EXPECT_EQ(c.runResult, task.run());
    if (c.runResult != 0) {
      // Every thread has already ended and none reached its main loop.
      EXPECT_EQ(0u, task.thr_count());
      EXPECT_FALSE(task.running());
      EXPECT_EQ(c.runResult, task.retcode());
    }
    task.shutdown();
    EXPECT_EQ(c.initOrder, task.initOrder);
    EXPECT_EQ(c.loops, task.inLoop.size());
    EXPECT_EQ(c.raise ? std::vector<std::string>{"Probe failed."} : std::vector<std::string>{},
              task.unhandled);
  }
}

TEST(CTask, RunningTwiceFailsAndAStoppedTaskRunsAgain) {
  CWatchdog dog;
  CProbeTask task(2);
  ASSERT_EQ(0, task.run());
  EXPECT_EQ((Failure{"ace_ext", "CTask::run", "Failed to start task.", "Task is already running."}),
            failureOf([&] { task.run(); }));
  task.shutdown();
  ASSERT_EQ(0, task.run());
  task.shutdown();
  EXPECT_EQ((std::vector<long>{0, 1, 0, 1}), task.initOrder);
}

TEST(CTask, ShutdownEndsEveryThread) {
  CWatchdog dog;
  CProbeTask task(3);
  ASSERT_EQ(0, task.run());
  {
    std::unique_lock<std::mutex> lock(task.mutex);
    ASSERT_TRUE(task.cv.wait_for(lock, 5s, [&] { return task.inLoop.size() == 3; }));
  }
  EXPECT_EQ(0, task.shutdown());
  EXPECT_EQ(3, task.daemonsEnded);
  EXPECT_EQ(0u, task.thr_count());
  EXPECT_FALSE(task.running());
  EXPECT_EQ(0, task.shutdown());  // a second shutdown finds nothing to stop
}

TEST(CTask, ForeignThreadHasNoIndex) {
  CProbeTask task(1);
  const ACE_thread_t self = ACE_Thread::self();
  EXPECT_EQ((Failure{"ace_ext", "CTask::threadIndex",
                     "Failed to find index for thread " +
                         std::to_string(static_cast<unsigned long>(self)) + " in task 'probe'.",
                     "No such index."}),
            failureOf([&] { task.indexOf(self); }));
}

}  // namespace
