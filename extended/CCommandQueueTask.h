#pragma once
// A reactor task that any thread, the host's included, can hand commands
// to. Commands travel through the reactor's notification channel: each one
// queued is one notification, and the worker waiting in the reactor runs it
// with its own thread index. Sending never blocks: when queueCapacity
// commands are already waiting (or the channel refuses the notification),
// sendCommand raises instead, so that stuck workers cannot make the queue
// grow without bound. Commands still queued when the task stops are dropped.
//
// Worker threads are registered with the host's task registry while they
// live, and failures escaping a thread's routines or a command are recorded
// in the host's exception facade and logged.

#include <deque>
#include <mutex>

#include "ace_ext/CReactorTask.h"
#include "extended/CICommandQueueTask.h"

class CMasterController;

class CCommandQueueTask : public CReactorTask, public CICommandQueueTask {
 public:
  static constexpr std::size_t kDefaultQueueCapacity = 4096;

  CCommandQueueTask(CMasterController* controller, std::string name, unsigned threadCount,
                    std::size_t queueCapacity = kDefaultQueueCapacity);
  ~CCommandQueueTask() override;

  void sendCommand(const CAsyncCommandPtr& command) override;
  const std::string& taskName() const override { return name(); }
  // This task has no deferral: handlers dispatch at once.
  bool deferredDispatch(CICommandQueueTaskHandler* handler, void* argument) override;
  long myThreadIndex() const override;

  CMasterController* controller() const { return m_controller; }
  // The notification channel's callback: runs the oldest queued command.
  int handle_exception(ACE_HANDLE) override;

 protected:
  void _threadStart() override;
  void _threadExit() override;
  void _unhandled(const nuv::CException& e) override;

 private:
  CMasterController* m_controller;  // the host's; not owned
  const std::size_t m_capacity;
  std::mutex m_queueMutex;
  std::deque<CAsyncCommandPtr> m_queue;
};
