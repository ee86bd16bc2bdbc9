#pragma once
// The running DHCPv6 server: a leader/followers command-queue task whose
// worker threads share one reactor. Thread 0 opens the socket front end and
// creates the master context; every thread builds and owns its CDHCP6TLS;
// the packet handler reads datagrams on the leader and processes each on
// the thread that read it. A reactor timer starts the periodic collection
// of stale pending offers. The host's mode and binding-count questions are
// answered by commands run on a worker thread.

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "dhcp6_server/CDHCP6Handler.h"
#include "dhcp6_server/CDHCP6ThreadMailboxes.h"
#include "dhcp_server_common/CTLSPool.h"
#include "extended/CLFCommandQueueTask.h"
#include "extended/CMulticastFrontend.h"
#include "extended/CSystemMode.h"

class CDHCP6Context;
class CDHCP6TLS;
class CIDHCPController;

class CDHCP6Engine : public CLFCommandQueueTask {
 public:
  static constexpr const char* kTaskName = "dhcpv6-engine";
  static constexpr const char* kUnicastEndpoint = "[::]:547";
  static constexpr const char* kDefaultGroups = "[ff02::1:2]:547,[ff05::1:3]:547";
  static constexpr unsigned long kDefaultGarbageInterval = 120;
  // _init's result when a thread could not start.
  static constexpr int kInitFailed = 12;

  // threadCount as configured; 0 runs one worker.
  CDHCP6Engine(CIDHCPController* controller, unsigned threadCount);
  ~CDHCP6Engine() override;

  // Starts the workers; returns 0 once every thread has started (so that
  // all are subscribed to the bus), or thread 0's failure code.
  int run() override;

  // Block the calling thread until a worker has answered; never call them
  // from a worker thread.
  CSystemMode mode();
  unsigned countBindings();

  CIDHCPController* controller() const { return m_controller; }
  // The master context; null until thread 0 has started, and after it ended.
  CDHCP6Context* context() const { return m_context.load(); }
  CMulticastFrontend& frontend() { return m_frontend; }
  CTLSPool<CDHCP6TLS>& tlsPool() { return m_tlsPool; }
  unsigned configuredThreadCount() const { return m_configuredThreads; }
  unsigned long pendingGarbageInterval() const { return m_pendingGarbageInterval.load(); }

  // Re-reads the collection interval and reschedules the collection.
  void refreshConfig();

  // The collection timer (argument null); other timers are ignored.
  int handle_timeout(const ACE_Time_Value& now, const void* argument) override;

 protected:
  int _init() override;
  int _daemon() override;

 private:
  void _initThread(long index);
  void _schedulePendingGarbageCollect();
  void _record(const nuv::CException& e);

  CIDHCPController* m_controller;  // the host's; not owned
  const unsigned m_configuredThreads;
  CTLSPool<CDHCP6TLS> m_tlsPool;
  CDHCP6ThreadMailboxes m_mailboxes;
  CDHCP6Handler m_handler;
  CMulticastFrontend m_frontend;
  std::atomic<CDHCP6Context*> m_context{nullptr};
  std::atomic<unsigned long> m_pendingGarbageInterval{kDefaultGarbageInterval};
  std::mutex m_timerMutex;  // cancel and schedule as one step
  std::mutex m_startMutex;
  std::condition_variable m_started;
  unsigned m_startsDone = 0;  // threads whose _init has returned
};
