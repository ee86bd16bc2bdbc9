#pragma once
// One counter per metric of a measured set (CDHCPMeasurementSpec). Each worker thread
// owns its own array and bumps it without locks; a statistics reader on
// another thread may read or sum the arrays at any time. Counters are
// single-writer atomics: an increment is a relaxed load and store, no
// locked instruction, and a concurrent read is still well defined.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "extended/CDHCPMeasurementSpec.h"

class CDHCPCounterArray {
 public:
  using Counter = std::uint64_t;

  explicit CDHCPCounterArray(CDHCPMeasurementSpec spec = {}) : m_spec(std::move(spec)) {}
  CDHCPCounterArray(const CDHCPCounterArray& other) : m_spec(other.m_spec) { _copy(other); }
  CDHCPCounterArray& operator=(const CDHCPCounterArray& other);

  const CDHCPMeasurementSpec& spec() const { return m_spec; }

  // Owner thread only. A metric the measured set does not hold (or an
  // identifier outside the table) is not counted.
  void inc(std::int32_t id) { add(id, 1); }
  void add(std::int32_t id, Counter n) {
    if (!m_spec.isMeasured(id)) return;
    std::atomic<Counter>& c = m_counters[static_cast<std::size_t>(id)];
    c.store(c.load(std::memory_order_relaxed) + n, std::memory_order_relaxed);
  }
  void set(std::int32_t id, Counter value) {
    if (m_spec.isMeasured(id))
      m_counters[static_cast<std::size_t>(id)].store(value, std::memory_order_relaxed);
  }
  void clear();

  // Any thread. 0 for a metric that is not measured.
  Counter get(std::int32_t id) const {
    return m_spec.isMeasured(id)
               ? m_counters[static_cast<std::size_t>(id)].load(std::memory_order_relaxed)
               : 0;
  }
  Counter operator[](std::int32_t id) const { return get(id); }

  // Adds the other's counters; the result measures the union of both sets.
  CDHCPCounterArray& operator+=(const CDHCPCounterArray& other);
  // Subtracts the other's counters (the delta since an earlier sample); a
  // counter never goes below 0, so a reset between samples reads as 0.
  CDHCPCounterArray& operator-=(const CDHCPCounterArray& other);
  friend CDHCPCounterArray operator+(CDHCPCounterArray a, const CDHCPCounterArray& b) {
    return a += b;
  }
  friend CDHCPCounterArray operator-(CDHCPCounterArray a, const CDHCPCounterArray& b) {
    return a -= b;
  }

  // "<name> #<instance> ipv<family>:" then " <metric suffix>=<value>" per
  // measured metric in identifier order, separated by ", ".
  std::string string() const;

 private:
  void _copy(const CDHCPCounterArray& other);

  CDHCPMeasurementSpec m_spec;
  std::array<std::atomic<Counter>, CDHCPMeasurementSpec::kMetricCount> m_counters{};
};
