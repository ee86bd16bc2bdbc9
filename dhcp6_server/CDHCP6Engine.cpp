#include "dhcp6_server/CDHCP6Engine.h"

#include <future>

#include "extended/CIDHCPController.h"
#include "standard/CException.h"

CDHCP6Engine::CDHCP6Engine(CIDHCPController* controller, unsigned threadCount)
    : m_controller(controller), m_threadCount(threadCount) {}

CDHCP6Engine::~CDHCP6Engine() {
  shutdown();
}

int CDHCP6Engine::run() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_threads.empty())
    NUV_THROW("CDHCP6Engine::run", nuv::CMessage("Cannot run task 'dhcpv6-engine'."),
              nuv::CMessage("Task is already running."));
  m_stopping = false;
  for (unsigned i = 0; i < m_threadCount; ++i)
    m_threads.emplace_back(&CDHCP6Engine::_worker, this, i);
  return 0;
}

void CDHCP6Engine::shutdown() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  for (std::thread& t : m_threads) t.join();
  m_threads.clear();
}

void CDHCP6Engine::_worker(unsigned index) {
  m_controller->taskRegistry().registerTask("dhcpv6-engine-" + std::to_string(index));
  std::unique_lock<std::mutex> lock(m_mutex);
  ++m_running;
  for (;;) {
    m_wake.wait(lock, [this] { return m_stopping || !m_commands.empty(); });
    // Queued questions are answered before stopping: their callers wait.
    if (m_commands.empty()) break;
    std::function<void()> command = std::move(m_commands.front());
    m_commands.pop_front();
    lock.unlock();
    command();
    lock.lock();
  }
  --m_running;
  lock.unlock();
  m_controller->taskRegistry().deregisterTask();
  m_controller->log().log(nuv::sev_debug, nuv::CMessage("The DHCPv6 server has shut down."));
}

std::size_t CDHCP6Engine::runningThreads() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_running;
}

void CDHCP6Engine::_ask(const std::function<void()>& fn) const {
  std::promise<void> done;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    // Only a worker can answer; with none the caller would wait forever.
    if (m_threads.empty() || m_stopping)
      NUV_THROW("CDHCP6Engine::_ask", nuv::CMessage("Cannot query the DHCPv6 engine."),
                nuv::CMessage("No worker thread is running."));
    m_commands.emplace_back([&] {
      try {
        fn();
        done.set_value();
      } catch (...) {
        done.set_exception(std::current_exception());
      }
    });
  }
  m_wake.notify_one();
  done.get_future().get();
}

CSystemMode CDHCP6Engine::mode() const {
  CSystemMode answer;
  _ask([&] { answer = m_mode; });
  return answer;
}

unsigned CDHCP6Engine::countBindings() const {
  unsigned answer = 0;
  _ask([&] { answer = 0; });
  return answer;
}
