#pragma once
// A fixed group of worker threads, each running a start routine (_init)
// and then a main routine (_daemon).
//
// Threads start one at a time in creation order under the start lock, so
// thread 0 always initialises first and a later thread's _init may rely on
// thread 0 already being in its main loop. run() returns once thread 0 has
// initialised: 0, or thread 0's non-zero code after every thread has ended
// (a failing thread 0 makes the others skip their start). A later thread
// whose own _init fails ends without running _daemon.
//
// shutdown() sets the stop flag and wakes the main loops (_wakeLoops) until
// every thread has left _daemon, then joins them. It must not be called from
// a worker thread, and a concrete task must call it in its own destructor,
// since the threads run that task's _init and _daemon.

#include <ace/Task.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "standard/CException.h"

class CTask : public ACE_Task_Base {
 public:
  // A thread count of 0 is taken as 1.
  CTask(std::string name, unsigned threadCount);
  CTask(const CTask&) = delete;
  CTask& operator=(const CTask&) = delete;
  ~CTask() override;

  virtual int run();
  virtual int shutdown();
  // Thread 0's start result.
  virtual int retcode() const;

  const std::string& name() const { return m_name; }
  unsigned threadCount() const { return m_threadCount; }
  bool stopRequested() const { return m_stop.load(std::memory_order_acquire); }
  // True from the first successful start until shutdown() has ended.
  bool running() const;

 protected:
  // Per-thread start and main routines of the concrete task.
  virtual int _init() = 0;
  virtual int _daemon() = 0;
  int svc() override;
  // Around each thread's life, for registration with a host.
  virtual void _threadStart() {}
  virtual void _threadExit() {}
  // Creates the threads (kernel-level, joinable, default priority) and
  // records their ids in creation order.
  virtual int _activate();
  // Makes threads waiting in their main loop look at the stop flag.
  virtual void _wakeLoops() {}
  // A failure escaping _init or _daemon; _init then counts as failed.
  virtual void _unhandled(const nuv::CException&) {}

  // Position of the thread in creation order; raises for foreign threads.
  long _threadIndex(ACE_thread_t thread) const;

 private:
  long _findIndex(ACE_thread_t thread) const;
  int _guarded(int (CTask::*routine)());

  const std::string m_name;
  const unsigned m_threadCount;
  std::atomic<bool> m_stop{false};

  // Start state, under the start lock.
  mutable std::mutex m_startMutex;
  std::condition_variable m_startCv;
  std::vector<ACE_thread_t> m_threads;  // creation order
  unsigned m_turn = 0;                  // index of the thread whose start is next
  bool m_active = false;                // between run() and the end of shutdown()
  bool m_failed = false;                // thread 0 failed: the others skip their start
  bool m_started = false;               // the started event
  bool m_running = false;
  int m_retcode = 0;

  std::mutex m_loopMutex;
  std::condition_variable m_loopCv;
  unsigned m_inDaemon = 0;
};
