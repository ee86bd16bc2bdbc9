#include "plugins/ddns/CDDNSCounters.h"

#include "extended/CDHCPMetricEnums.h"

namespace {
using M = CDHCPMetricEnums::Metric;
// In slot order: forward add, reverse add, forward remove, reverse remove.
constexpr std::int32_t kMetrics[] = {M::updatesForward, M::updatesReverse, M::deletesForward,
                                     M::deletesReverse};
}  // namespace

std::size_t CDDNSCounters::_slot(const CDDNSJob& job) {
  return (job.action == CDDNSJob::Action::remove ? 2 : 0) +
         (job.records == CDDNSJob::Records::reverse ? 1 : 0);
}

std::uint64_t CDDNSCounters::succeeded(CDDNSJob::Records records, CDDNSJob::Action action) const {
  CDDNSJob job;
  job.records = records;
  job.action = action;
  return m_done[_slot(job)].load(std::memory_order_relaxed);
}

std::uint64_t CDDNSCounters::failures(CDDNSOutcome::Cause cause) const {
  return m_failures[static_cast<std::size_t>(cause)].load(std::memory_order_relaxed);
}

std::int32_t CDDNSCounters::metric(const CDDNSJob& job) {
  return kMetrics[_slot(job)];
}

std::string CDDNSCounters::summary() const {
  const CDHCPMetricEnums names;
  std::string out;
  const auto line = [&out](std::string_view name, std::uint64_t value) {
    out.append(name).append("=").append(std::to_string(value)).append("\n");
  };
  for (std::size_t i = 0; i < m_done.size(); ++i)
    line(names.suffix(kMetrics[i]), m_done[i].load(std::memory_order_relaxed));
  std::uint64_t failed = 0;
  for (const auto& n : m_failures) failed += n.load(std::memory_order_relaxed);
  line("failures", failed);
  for (std::size_t c = 1; c < m_failures.size(); ++c)
    line(CDDNSOutcome::counterName(static_cast<CDDNSOutcome::Cause>(c)),
         m_failures[c].load(std::memory_order_relaxed));
  line("dropped", dropped());
  line("abandoned", m_abandoned.load(std::memory_order_relaxed));
  return out;
}
