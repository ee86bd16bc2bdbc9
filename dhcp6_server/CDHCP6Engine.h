#pragma once
// The engine owns the worker threads of the server. This version starts the
// configured number of workers and stops them; they accept commands (the
// mode and binding-count questions of the host) but do not yet read
// datagrams: the socket front end and packet handler join them later.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "extended/CSystemMode.h"

class CIDHCPController;

class CDHCP6Engine {
 public:
  CDHCP6Engine(CIDHCPController* controller, unsigned threadCount);
  ~CDHCP6Engine();
  CDHCP6Engine(const CDHCP6Engine&) = delete;
  CDHCP6Engine& operator=(const CDHCP6Engine&) = delete;

  // 0 when every worker started.
  int run();
  // Stops the workers and waits for them; each writes its shut-down line.
  void shutdown();

  unsigned threadCount() const { return m_threadCount; }
  std::size_t runningThreads() const;
  CSystemMode mode() const;
  // Without a lease store there are no bindings to count yet.
  unsigned countBindings() const;

 private:
  void _worker(unsigned index);
  // Runs fn on a worker thread and waits for it.
  void _ask(const std::function<void()>& fn) const;

  CIDHCPController* m_controller;  // the host's; not owned
  unsigned m_threadCount;
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_wake;
  mutable std::deque<std::function<void()>> m_commands;
  bool m_stopping = false;
  std::size_t m_running = 0;
  CSystemMode m_mode = CSystemMode::init;
  std::vector<std::thread> m_threads;
};
