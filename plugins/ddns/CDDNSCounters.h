#pragma once
// The DNS update plug-in's own counts: the updates made, the failures by
// cause, the updates dropped from a full queue or left unsent at shutdown.
// Written by the sender thread and the worker threads, read by the status
// query "query_ddns".

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "plugins/ddns/CDDNSJob.h"
#include "plugins/ddns/CDDNSOutcome.h"

class CDDNSCounters {
 public:
  void countSuccess(const CDDNSJob& job) { _inc(m_done[_slot(job)]); }
  void countFailure(CDDNSOutcome::Cause cause) {
    _inc(m_failures[static_cast<std::size_t>(cause)]);
  }
  void countDrop() { _inc(m_dropped); }
  void countAbandoned(std::uint64_t n) { m_abandoned.fetch_add(n, std::memory_order_relaxed); }

  std::uint64_t succeeded(CDDNSJob::Records records, CDDNSJob::Action action) const;
  std::uint64_t failures(CDDNSOutcome::Cause cause) const;
  std::uint64_t dropped() const { return m_dropped.load(std::memory_order_relaxed); }

  // The statistics metric a job that succeeded counts in ("updates.forward").
  static std::int32_t metric(const CDDNSJob& job);
  // One "name=value" line per count, the four metrics first.
  std::string summary() const;

 private:
  static void _inc(std::atomic<std::uint64_t>& n) { n.fetch_add(1, std::memory_order_relaxed); }
  static std::size_t _slot(const CDDNSJob& job);

  std::array<std::atomic<std::uint64_t>, 4> m_done{};
  std::array<std::atomic<std::uint64_t>, static_cast<std::size_t>(CDDNSOutcome::Cause::count)>
      m_failures{};
  std::atomic<std::uint64_t> m_dropped{0};
  std::atomic<std::uint64_t> m_abandoned{0};
};
