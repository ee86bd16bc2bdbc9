#include "ace_ext/CTask.h"

#include <ace/Thread.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <exception>

CTask::CTask(std::string name, unsigned threadCount)
    : m_name(std::move(name)), m_threadCount(std::max(threadCount, 1u)) {}

CTask::~CTask() = default;

bool CTask::running() const {
  std::lock_guard<std::mutex> lock(m_startMutex);
  return m_running;
}

int CTask::retcode() const {
  std::lock_guard<std::mutex> lock(m_startMutex);
  return m_retcode;
}

int CTask::run() {
  std::unique_lock<std::mutex> lock(m_startMutex);
  if (m_active)
    throw nuv::CException(nuv::CMessage("Failed to start task."),
                          nuv::CMessage("Task is already running."), NUV_MODULE_NAME, "CTask::run",
                          __FILE__, __LINE__);
  m_active = true;
  m_stop = false;
  m_turn = 0;
  m_failed = m_started = m_running = false;
  m_retcode = 0;
  // The threads wait for the start lock, so they see every id recorded.
  if (_activate() == -1) {
    const int err = errno;
    m_failed = true;
    m_startCv.notify_all();
    lock.unlock();
    wait();
    lock.lock();
    m_active = false;
    throw nuv::CException(nuv::CMessage("Failed to start task."), nuv::CMessage(), NUV_MODULE_NAME,
                          "CTask::run", __FILE__, __LINE__, nuv::sev_error, err);
  }
  m_startCv.wait(lock, [this] { return m_started; });
  if (m_retcode == 0) return 0;
  lock.unlock();
  wait();
  lock.lock();
  m_active = false;
  return m_retcode;
}

int CTask::_activate() {
  m_threads.assign(m_threadCount, ACE_thread_t());
  return activate(THR_NEW_LWP | THR_JOINABLE | THR_INHERIT_SCHED, static_cast<int>(m_threadCount),
                  0, ACE_DEFAULT_THREAD_PRIORITY, -1, nullptr, nullptr, nullptr, nullptr,
                  m_threads.data());
}

int CTask::shutdown() {
  {
    std::unique_lock<std::mutex> lock(m_startMutex);
    if (!m_active) return m_retcode;
    // A thread still starting may be waiting for a loop to serve it.
    m_startCv.wait(lock, [this] { return m_failed || m_turn >= m_threadCount; });
  }
  m_stop.store(true, std::memory_order_release);
  {
    std::unique_lock<std::mutex> lock(m_loopMutex);
    while (m_inDaemon > 0) {
      lock.unlock();
      _wakeLoops();
      lock.lock();
      m_loopCv.wait_for(lock, std::chrono::milliseconds(10), [this] { return m_inDaemon == 0; });
    }
  }
  wait();
  std::lock_guard<std::mutex> lock(m_startMutex);
  m_active = m_running = false;
  return m_retcode;
}

int CTask::svc() {
  std::unique_lock<std::mutex> lock(m_startMutex);
  const long index = _findIndex(ACE_Thread::self());
  m_startCv.wait(lock, [&] { return m_failed || static_cast<long>(m_turn) == index; });
  int own = 0;
  if (!m_failed) {
    _threadStart();
    own = _guarded(&CTask::_init);
    if (index == 0) {
      m_retcode = own;
      m_failed = own != 0;
    }
  }
  m_started = true;
  const bool loop = !m_failed && own == 0;
  if (loop) {
    m_running = true;
    std::lock_guard<std::mutex> loopLock(m_loopMutex);
    ++m_inDaemon;
  }
  ++m_turn;
  m_startCv.notify_all();
  lock.unlock();

  int rc = 0;
  if (loop) {
    rc = _guarded(&CTask::_daemon);
    std::lock_guard<std::mutex> loopLock(m_loopMutex);
    --m_inDaemon;
    m_loopCv.notify_all();
  }
  _threadExit();
  return rc;
}

int CTask::_guarded(int (CTask::*routine)()) {
  try {
    return (this->*routine)();
  } catch (const nuv::CException& e) {
    _unhandled(e);
  } catch (const std::exception& e) {
    _unhandled(nuv::CException(nuv::CMessage("Task '%1' failed.").pushs(m_name),
                               nuv::CMessage(e.what()), NUV_MODULE_NAME, "CTask::svc", __FILE__,
                               __LINE__));
  }
  return -1;
}

long CTask::_findIndex(ACE_thread_t thread) const {
  for (std::size_t i = 0; i < m_threads.size(); ++i)
    if (ACE_OS::thr_equal(m_threads[i], thread)) return static_cast<long>(i);
  return -1;
}

long CTask::_threadIndex(ACE_thread_t thread) const {
  // Written by run() before any thread passes the start lock, then read-only.
  const long index = _findIndex(thread);
  if (index < 0)
    throw nuv::CException(nuv::CMessage("Failed to find index for thread %1 in task '%2'.")
                              .push(static_cast<unsigned long>(thread))
                              .pushs(m_name),
                          nuv::CMessage("No such index."), NUV_MODULE_NAME, "CTask::threadIndex",
                          __FILE__, __LINE__);
  return index;
}
