#pragma once
// Where boundaries that carry on after a failure put the exception: record()
// keeps it for the calling thread, log() writes what this thread recorded.

#include <atomic>
#include <cstdint>

#include "extended/CLogSink.h"
#include "standard/CException.h"

class CExceptionFacade {
 public:
  explicit CExceptionFacade(CLogSink& sink) : m_sink(sink) {}

  void record(const nuv::CException& e);
  // Writes and forgets every exception this thread recorded.
  void log();
  std::uint64_t recordedCount() const { return m_count.load(std::memory_order_relaxed); }
  // Those of them that the database layer raised (module "oodb_persistence").
  std::uint64_t databaseCount() const { return m_databaseCount.load(std::memory_order_relaxed); }

 private:
  CLogSink& m_sink;
  std::atomic<std::uint64_t> m_count{0};
  std::atomic<std::uint64_t> m_databaseCount{0};
};
