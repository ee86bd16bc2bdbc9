#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "extended/CCommandQueueTask.h"
#include "extended/CResultCommand.h"
#include "extended/CSystemMode.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/CWatchdog.h"
#include "tests/fixtures/FailureOf.h"

namespace {

using namespace std::chrono_literals;

// One worker that serves the queue until stopped.
class CQueueTask : public CCommandQueueTask {
 public:
  CQueueTask(CMasterController* c, unsigned threads = 1, std::size_t capacity = 8)
      : CCommandQueueTask(c, "tq", threads, capacity) {}
  ~CQueueTask() override { shutdown(); }

 protected:
  int _init() override { return 0; }
  int _daemon() override {
    while (!stopRequested()) {
      selectReactor().takeOwnership();
      reactor()->handle_events();
    }
    return 0;
  }
};

class CModeCommand : public CResultCommand<CSystemMode> {
 public:
  CModeCommand(CExtAsyncResult<CSystemMode> r, bool fail)
      : CResultCommand(std::move(r)), m_fail(fail) {}
  std::string name() const override { return "mode"; }

 protected:
  CSystemMode _compute(long) override {
    if (m_fail)
      NUV_THROW("CModeCommand::_compute", nuv::CMessage("No mode for thread %1.").push(0),
                nuv::CMessage("On purpose."));
    return CSystemMode::servicing;
  }

 private:
  bool m_fail;
};

class CCountCommand : public CAsyncCommand {
 public:
  explicit CCountCommand(std::atomic<int>& n) : m_n(n) {}
  void execute(long) override { ++m_n; }
  std::string name() const override { return "count"; }

 private:
  std::atomic<int>& m_n;
};

TEST(CCommandQueueTask, AnswerOrFailureReachesTheWaitingCaller) {
  CWatchdog dog;
  CRecordingController controller;
  CQueueTask task(&controller);
  ASSERT_EQ(0, task.run());

  CSystemMode mode = CSystemMode::init;
  CExtAsyncResult<CSystemMode> ok(&controller, &mode);
  task.sendCommand(std::make_shared<CModeCommand>(ok, false));
  ok.wait();
  EXPECT_EQ(CSystemMode::servicing, mode.value());

  CSystemMode untouched = CSystemMode::init;
  CExtAsyncResult<CSystemMode> failing(&controller, &untouched);
  task.sendCommand(std::make_shared<CModeCommand>(failing, true));
  EXPECT_EQ(
      (Failure{"extended_tests", "CModeCommand::_compute", "No mode for thread 0.", "On purpose."}),
      failureOf([&] { failing.wait(); }));
  EXPECT_EQ(CSystemMode::init, untouched.value());
}

TEST(CCommandQueueTask, FailureNobodyWaitedForIsLogged) {
  CWatchdog dog;
  CRecordingController controller;
  CQueueTask task(&controller);
  ASSERT_EQ(0, task.run());
  {
    CSystemMode mode;
    CExtAsyncResult<CSystemMode> result(&controller, &mode);
    task.sendCommand(std::make_shared<CModeCommand>(result, true));
    ASSERT_TRUE(result.signalled(5s));
  }
  // The worker may still hold the command's copy for a moment.
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!controller.logSink.contains("No mode for thread 0. (On purpose.)") &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(controller.logSink.contains("No mode for thread 0. (On purpose.)"));
}

TEST(CCommandQueueTask, FullQueueRefusesAndKeepsWhatItAccepted) {
  CWatchdog dog;
  CRecordingController controller;
  CQueueTask task(&controller);
  std::atomic<int> executed{0};
  int accepted = 0;
  Failure failure;
  for (; accepted < 100; ++accepted) {
    failure = failureOf([&] { task.sendCommand(std::make_shared<CCountCommand>(executed)); });
    if (failure.context != "<nothing thrown>") break;
  }
  EXPECT_EQ((Failure{"extended", "CCommandQueueTask::sendCommand",
                     "Failed to send command 'count' to task 'tq'.", "Command queue overflow."}),
            failure);
  EXPECT_EQ(8, accepted);
  ASSERT_EQ(0, task.run());
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (executed < accepted && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  task.shutdown();
  EXPECT_EQ(accepted, executed.load());
}

TEST(CCommandQueueTask, WorkersAreRegisteredWhileTheyRun) {
  CWatchdog dog;
  CRecordingController controller;
  CQueueTask task(&controller, 1);
  ASSERT_EQ(0, task.run());
  const auto tasks = controller.taskRegistry().tasks();
  ASSERT_EQ(1u, tasks.size());
  EXPECT_EQ("tq", tasks[0].name);
  task.shutdown();
  EXPECT_EQ(0u, controller.taskRegistry().size());
}

}  // namespace
