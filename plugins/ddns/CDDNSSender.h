#pragma once
// The one thread that sends the queued updates, one at a time, in order.
// An attempt that timed out or got SERVFAIL is repeated after a growing
// pause (CDDNSBackoff), up to the configured number of retries; any other
// failure is final. Every update that finally fails writes one error line
// naming the cause, and is counted.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "extended/CIDHCPStats.h"
#include "extended/CLogRateLimiter.h"
#include "extended/CLogSink.h"
#include "plugins/ddns/CDDNSCounters.h"
#include "plugins/ddns/CDDNSQueue.h"
#include "plugins/ddns/CDDNSSettings.h"

class CDDNSSender {
 public:
  // One attempt at one job, waiting at most timeoutMs for the answer.
  using Attempt = std::function<CDDNSOutcome(const CDDNSJob& job, const CDDNSSettings& settings,
                                             std::uint32_t timeoutMs)>;
  using Settings = std::function<CDDNSSettings()>;

  // attempt defaults to send (the real DNS exchange).
  CDDNSSender(CDDNSQueue& queue, CDDNSCounters& counters, CLogSink& log, Settings settings,
              Attempt attempt = &CDDNSSender::send);
  CDDNSSender(const CDDNSSender&) = delete;
  CDDNSSender& operator=(const CDDNSSender&) = delete;
  ~CDDNSSender();

  // Starts the thread; stats (may be null) is used by that thread only.
  void start(std::shared_ptr<CIDHCPStats> stats);
  // Closes the queue, sends what it holds for at most the drain time (and
  // one time-out), then counts and reports what is left and ends the thread.
  void stop();

  // Builds the job's message, signs it with the configured key and sends it.
  static CDDNSOutcome send(const CDDNSJob& job, const CDDNSSettings& settings,
                           std::uint32_t timeoutMs);

 private:
  using Clock = std::chrono::steady_clock;

  void _run();
  void _process(const CDDNSJob& job, const CDDNSSettings& settings);
  // The time an attempt may take: the time-out, or less while draining.
  // 0: the drain time is over.
  std::uint32_t _allowance(std::uint32_t timeoutMs);
  // Waits for pause; false when the drain time ends first.
  bool _pause(std::chrono::milliseconds pause);
  void _error(const nuv::CMessage& message);

  CDDNSQueue& m_queue;
  CDDNSCounters& m_counters;
  CLogSink& m_log;
  Settings m_settings;
  Attempt m_attempt;
  std::shared_ptr<CIDHCPStats> m_stats;  // the sender thread's
  CLogRateLimiter m_errors;              // the sender thread's

  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_draining = false;
  Clock::time_point m_deadline;   // of the drain, once draining
  std::uint64_t m_abandoned = 0;  // the sender thread's
  std::thread m_thread;
};
