#pragma once
// The messages the server drops while its database cannot serve them (the
// connection is lost, the disk is full). An outage writes one log line
// when it begins and then at most one per interval, each saying how many
// messages were dropped since the line before, however many there are;
// the first message served once nothing was dropped for a few seconds
// ends it with a line of its own (each worker thread's connection comes
// back on its own, so drops and answers mix for a moment). Shared by the
// worker threads.

#include <atomic>
#include <ctime>
#include <mutex>

#include "extended/CLogRateLimiter.h"

namespace nuv {
class CException;
}
class CLogSink;

class CDHCP6OutageLog {
 public:
  static constexpr unsigned kIntervalSeconds = 10;
  // Seconds without a drop that end an outage.
  static constexpr unsigned kQuietSeconds = 2;

  // log: the host's process log; not owned.
  explicit CDHCP6OutageLog(CLogSink& log);

  // A message dropped at now because of failure.
  void dropped(const nuv::CException& failure, std::time_t now);
  // A message served at now; cheap when there is no outage.
  void served(std::time_t now) {
    if (m_out.load(std::memory_order_relaxed)) _ended(now);
  }

 private:
  void _ended(std::time_t now);

  CLogSink& m_log;
  std::atomic<bool> m_out{false};
  std::mutex m_mutex;
  CLogRateLimiter m_limiter{1, kIntervalSeconds};
  std::time_t m_began = 0;
  std::time_t m_lastLine = 0;
  std::time_t m_lastDrop = 0;
  unsigned long m_dropped = 0;
};
