#include "extended/CLFCommandQueueTask.h"

#include <ace/Thread.h>

#include <chrono>
#include <exception>
#include <thread>

#include "extended/CICommandQueueTaskHandler.h"

namespace {
// How long a candidate spins before it blocks on the leader lock.
constexpr int kSpinAttempts = 1001;
}  // namespace

thread_local CLFCommandQueueTask::Leading CLFCommandQueueTask::t_leading;

CLFCommandQueueTask::CLFCommandQueueTask(CMasterController* controller, std::string name,
                                         unsigned threadCount, std::size_t queueCapacity)
    : CCommandQueueTask(controller, std::move(name), threadCount, queueCapacity) {}

CLFCommandQueueTask::~CLFCommandQueueTask() = default;

bool CLFCommandQueueTask::deferredDispatch(CICommandQueueTaskHandler* handler, void* argument) {
  if (t_leading.task != this) return false;
  t_leading.dispatches->emplace_back(handler, argument);
  return true;
}

int CLFCommandQueueTask::_pumpReactor(const ACE_Time_Value* limit) {
  Dispatches mine;
  while (!stopRequested()) {
    _becomeLeader();
    if (stopRequested()) {
      m_leaderLock.release();
      --m_competing;
      break;
    }
    _leadOnce(limit, mine);
    m_leaderLock.release();
    --m_competing;
    _runDispatches(mine);
  }
  return 0;
}

void CLFCommandQueueTask::_becomeLeader() {
  bool alone = false;
  for (int attempt = 0; attempt < kSpinAttempts && !alone; ++attempt) {
    if (++m_competing == 1) {
      alone = true;
    } else {
      --m_competing;
      std::this_thread::sleep_for(std::chrono::nanoseconds(10));
    }
  }
  if (!alone) ++m_competing;
  m_leaderLock.acquire();
}

void CLFCommandQueueTask::_leadOnce(const ACE_Time_Value* limit, Dispatches& mine) {
  selectReactor().takeOwnership();
  t_leading = {this, &mine};
  ACE_Time_Value remaining = limit ? *limit : ACE_Time_Value::zero;
  try {
    reactor()->handle_events(limit ? &remaining : nullptr);
  } catch (const nuv::CException& e) {
    _unhandled(e);
  } catch (const std::exception& e) {
    _unhandled(nuv::CException(nuv::CMessage("Task '%1' failed in its reactor.").pushs(taskName()),
                               nuv::CMessage(e.what()), NUV_MODULE_NAME,
                               "CLFCommandQueueTask::_pumpReactor", __FILE__, __LINE__));
  }
  t_leading = {};
}

void CLFCommandQueueTask::_runDispatches(Dispatches& mine) {
  for (const auto& [handler, argument] : mine) {
    try {
      handler->dispatch(argument);
    } catch (const nuv::CException& e) {
      _unhandled(e);
    }
  }
  mine.clear();
}
