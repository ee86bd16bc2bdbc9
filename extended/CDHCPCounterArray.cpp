#include "extended/CDHCPCounterArray.h"

namespace {
constexpr std::int32_t kCount = static_cast<std::int32_t>(CDHCPMeasurementSpec::kMetricCount);
}

CDHCPCounterArray& CDHCPCounterArray::operator=(const CDHCPCounterArray& other) {
  if (this != &other) {
    m_spec = other.m_spec;
    _copy(other);
  }
  return *this;
}

void CDHCPCounterArray::_copy(const CDHCPCounterArray& other) {
  for (std::size_t i = 0; i < m_counters.size(); ++i)
    m_counters[i].store(other.m_counters[i].load(std::memory_order_relaxed),
                        std::memory_order_relaxed);
}

void CDHCPCounterArray::clear() {
  for (auto& c : m_counters) c.store(0, std::memory_order_relaxed);
}

CDHCPCounterArray& CDHCPCounterArray::operator+=(const CDHCPCounterArray& other) {
  m_spec += other.m_spec;
  for (std::int32_t id = 0; id < kCount; ++id) add(id, other.get(id));
  return *this;
}

CDHCPCounterArray& CDHCPCounterArray::operator-=(const CDHCPCounterArray& other) {
  for (std::int32_t id = 0; id < kCount; ++id) {
    const Counter mine = get(id), theirs = other.get(id);
    set(id, mine > theirs ? mine - theirs : 0);
  }
  return *this;
}

std::string CDHCPCounterArray::string() const {
  static const CDHCPMetricEnums kNames;
  std::string out = m_spec.name() + " #" + std::to_string(m_spec.instance()) + " ipv" +
                    std::to_string(m_spec.family().value()) + ":";
  const char* sep = " ";
  for (std::int32_t id = 0; id < kCount; ++id) {
    if (!m_spec.isMeasured(id)) continue;
    out += sep;
    out += kNames.suffix(id);
    out += '=';
    out += std::to_string(get(id));
    sep = ", ";
  }
  return out;
}
