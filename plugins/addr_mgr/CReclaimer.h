#pragma once
// The reclaimer: a thread of the address manager plug-in that removes the
// leases (address and prefix bindings) whose expiry lies more than the
// lead time in the past, so that pools do not run dry. A released lease
// (duration 0) has expired at its release. Fixed bindings are an
// operator's reservations and stay. Once a binding's row is gone, the
// address managers' next search sees its address free.
//
// It wakes every "reclaimer.interval" seconds (CReclaimerSettings), works
// through a database session of its own, opened on its thread, and
// announces each removed lease as an "expire" lease event on the system
// bus and counts it ("binding.reclaimed") after the removal committed.
// Then the DNS records the lease kept names of (CDDNSLeaseNames) are handed
// to the DDNS service for deletion; a released lease kept none (the
// Release deleted them).
// A failed run is recorded and logged; the next one starts afresh on a
// new session.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "dhcp_server_common/CIDHCPDDNS.h"
#include "extended/CIDHCPStats.h"
#include "extended/CISystemBus.h"
#include "oodb/CIPrstSession.h"
#include "plugins/addr_mgr/CReclaimPass.h"
#include "plugins/addr_mgr/CReclaimerSettings.h"

class CMasterController;

class CReclaimer {
 public:
  // Opens the reclaimer's session; called on the reclaimer's thread.
  using SessionOpener = std::function<std::unique_ptr<CIPrstSession>()>;
  struct Counts {
    std::size_t addresses = 0;
    std::size_t prefixes = 0;
  };
  // While runs are off (interval 0), the settings are read again this often.
  static constexpr std::uint32_t kIdleRecheck = 60;

  // bus, stats and ddns may be null: nothing is announced, nothing
  // counted, nothing deleted from the DNS.
  CReclaimer(CMasterController& controller, SessionOpener openSession,
             std::shared_ptr<CISystemBus> bus, std::shared_ptr<CIDHCPStats> stats,
             std::shared_ptr<CIDHCPDDNS> ddns = nullptr);
  ~CReclaimer();
  CReclaimer(const CReclaimer&) = delete;
  CReclaimer& operator=(const CReclaimer&) = delete;

  // Starts the thread; its first run is one interval later.
  void start();
  // Wakes the thread at once and joins it; a run in progress finishes its
  // current transaction first.
  void stop();

  // One run on the calling thread's session: both kinds of binding, each
  // one removed announced and counted, the counts logged when any. Failures
  // pass through to the caller.
  Counts run(CIPrstSession& session, const CReclaimerSettings& settings);

  // For tests: true once the thread has finished `runs` runs and waits for
  // the next, false when the deadline passes first.
  bool awaitIdle(std::uint64_t runs, std::chrono::steady_clock::duration deadline);

 private:
  void _loop();
  // Announces and counts one removed lease of the event class
  // ("address_lease", "network_lease").
  void _reclaimed(const char* eventClass, const CReclaimPass::Reclaimed& lease);
  // Hands the deletes of the lease's DNS records to the DDNS service.
  void _deleteRecords(const CReclaimPass::Reclaimed& lease);
  // A run that reports its failure instead of raising it; the session is
  // dropped after a failure (the connection may be what failed).
  void _guardedRun(std::unique_ptr<CIPrstSession>& session, const CReclaimerSettings& settings);
  void _failed(const nuv::CException& e, std::unique_ptr<CIPrstSession>& session);

  CMasterController& m_controller;
  const SessionOpener m_openSession;
  std::shared_ptr<CISystemBus> m_bus;
  std::shared_ptr<CIDHCPStats> m_stats;
  std::shared_ptr<CIDHCPDDNS> m_ddns;  // used on the reclaimer's thread only
  int m_serverIndex = 0;               // of the run in progress

  std::mutex m_mutex;
  std::condition_variable m_wake;  // stop
  std::condition_variable m_idle;  // the thread waits for its next run
  bool m_stopping = false;
  bool m_waiting = false;
  std::uint64_t m_runs = 0;
  std::thread m_thread;
};
