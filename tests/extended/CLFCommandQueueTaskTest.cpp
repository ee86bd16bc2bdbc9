#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <vector>

#include "extended/CExtAsyncResult.h"
#include "extended/CICommandQueueTaskHandler.h"
#include "extended/CLFCommandQueueTask.h"
#include "extended/CResultCommand.h"
#include "tests/fixtures/CRecordingController.h"
#include "tests/fixtures/CWatchdog.h"

namespace {

using namespace std::chrono_literals;

class CLoopTask : public CLFCommandQueueTask {
 public:
  CLoopTask(CMasterController* c, unsigned threads) : CLFCommandQueueTask(c, "lf", threads) {}
  ~CLoopTask() override { shutdown(); }

 protected:
  int _init() override { return 0; }
  int _daemon() override { return _pumpReactor(); }
};

// Stands in for the packet handler: reads one byte ("datagram") in the
// reactor and defers its processing.
class CPipeReader : public CICommandQueueTaskHandler {
 public:
  explicit CPipeReader(CLoopTask& task) : m_task(task) {
    EXPECT_EQ(0, ::pipe(m_fds));
    ::fcntl(m_fds[0], F_SETFL, O_NONBLOCK);
    m_task.reactor()->register_handler(m_fds[0], this, ACE_Event_Handler::READ_MASK);
  }
  ~CPipeReader() override {
    m_task.reactor()->remove_handler(m_fds[0],
                                     ACE_Event_Handler::READ_MASK | ACE_Event_Handler::DONT_CALL);
    ::close(m_fds[0]);
    ::close(m_fds[1]);
  }

  void write(int count) {
    for (int i = 0; i < count; ++i) {
      const char item = static_cast<char>(i);
      ASSERT_EQ(1, ::write(m_fds[1], &item, 1));
    }
  }

  int handle_input(ACE_HANDLE) override {
    char item;
    if (::read(m_fds[0], &item, 1) != 1) return 0;
    std::lock_guard<std::mutex> lock(mutex);
    readBy[item] = m_task.myThreadIndex();
    cv.notify_all();
    if (!m_task.deferredDispatch(this, reinterpret_cast<void*>(static_cast<intptr_t>(item))))
      problems.push_back("could not defer item " + std::to_string(item));
    return 0;
  }

  int dispatch(void* argument) override {
    const int item = static_cast<int>(reinterpret_cast<intptr_t>(argument));
    std::unique_lock<std::mutex> lock(mutex);
    dispatchedBy[item] = m_task.myThreadIndex();
    ++busy;
    cv.notify_all();
    // Out of the reactor by now: nothing more can be deferred here.
    if (m_task.deferredDispatch(this, nullptr)) problems.push_back("deferred outside the reactor");
    if (waitFor && !cv.wait_for(lock, 5s, [&] { return waitFor(item); }))
      problems.push_back("item " + std::to_string(item) + " waited in vain");
    --busy;
    return 0;
  }

  bool waitUntil(const std::function<bool()>& condition) {
    std::unique_lock<std::mutex> lock(mutex);
    return cv.wait_for(lock, 5s, condition);
  }
  void release(const std::function<void()>& change) {
    std::lock_guard<std::mutex> lock(mutex);
    change();
    cv.notify_all();
  }

  std::mutex mutex;
  std::condition_variable cv;
  std::map<int, long> readBy, dispatchedBy;
  std::vector<std::string> problems;
  std::function<bool(int item)> waitFor;  // under mutex, while processing item
  int busy = 0;

 private:
  CLoopTask& m_task;
  int m_fds[2];
};

class CIndexCommand : public CResultCommand<long> {
 public:
  using CResultCommand::CResultCommand;
  std::string name() const override { return "index"; }

 protected:
  long _compute(long threadIndex) override { return threadIndex; }
};

TEST(CLFCommandQueueTask, OneThreadProcessesEveryItemItRead) {
  CWatchdog dog;
  CRecordingController controller;
  CLoopTask task(&controller, 1);
  CPipeReader reader(task);
  ASSERT_EQ(0, task.run());
  reader.write(5);
  ASSERT_TRUE(reader.waitUntil([&] { return reader.dispatchedBy.size() == 5; }));
  task.shutdown();
  EXPECT_EQ(reader.readBy, reader.dispatchedBy);
  EXPECT_EQ((std::map<int, long>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}), reader.dispatchedBy);
  EXPECT_TRUE(reader.problems.empty()) << reader.problems.front();
}

// Each item is still being processed when the next one is read, so every
// read happens on a thread that took the lead while the previous reader
// was busy outside the reactor.
TEST(CLFCommandQueueTask, ThreadsTakeTheLeadInTurnAndLoseNoDispatch) {
  CWatchdog dog;
  CRecordingController controller;
  CLoopTask task(&controller, 3);
  CPipeReader reader(task);
  constexpr int kItems = 12;
  reader.waitFor = [&](int item) { return item == kItems - 1 || reader.readBy.count(item + 1); };
  ASSERT_EQ(0, task.run());
  reader.write(kItems);
  ASSERT_TRUE(reader.waitUntil([&] { return reader.dispatchedBy.size() == kItems; }));
  task.shutdown();
  EXPECT_TRUE(reader.problems.empty()) << reader.problems.front();
  EXPECT_EQ(reader.readBy, reader.dispatchedBy);
  for (int i = 0; i + 1 < kItems; ++i) EXPECT_NE(reader.readBy[i], reader.readBy[i + 1]) << i;
}

TEST(CLFCommandQueueTask, CommandSentWhileEveryThreadIsBusyRunsWhenOneReturns) {
  CWatchdog dog;
  CRecordingController controller;
  CLoopTask task(&controller, 2);
  CPipeReader reader(task);
  bool gateOpen = false;
  reader.waitFor = [&](int) { return gateOpen; };
  ASSERT_EQ(0, task.run());
  reader.write(2);
  ASSERT_TRUE(reader.waitUntil([&] { return reader.busy == 2; }));

  long index = -1;
  CExtAsyncResult<long> result(&controller, &index);
  task.sendCommand(std::make_shared<CIndexCommand>(result));
  EXPECT_FALSE(result.signalled(100ms));  // nobody is in the reactor
  reader.release([&] { gateOpen = true; });
  ASSERT_TRUE(result.signalled(5s));
  result.wait();
  task.shutdown();
  EXPECT_TRUE(index == 0 || index == 1) << index;
  EXPECT_TRUE(reader.problems.empty()) << reader.problems.front();
}

}  // namespace
