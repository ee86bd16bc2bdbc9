#pragma once
// Which metrics one thread measures, with the name, instance number and
// protocol family under which the statistics service files its counters.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>

#include "extended/CDHCPMetricEnums.h"
#include "extended/CProtocolFamily.h"

class CDHCPMeasurementSpec {
 public:
  static constexpr std::size_t kMetricCount = CDHCPMetricEnums::metricCount;

  CDHCPMeasurementSpec() = default;
  CDHCPMeasurementSpec(std::string name, std::uint32_t instance, CProtocolFamily family)
      : m_name(std::move(name)), m_instance(instance), m_family(family) {}

  // The set a DHCPv6 packet-handler thread measures: the DHCPv6 message
  // counters, input/output and failure counters, and address availability.
  // The name is "task-" followed by text.
  static CDHCPMeasurementSpec forHandlerThread(const std::string& text, std::uint32_t instance,
                                               CProtocolFamily family);

  const std::string& name() const { return m_name; }
  std::uint32_t instance() const { return m_instance; }
  CProtocolFamily family() const { return m_family; }

  // An identifier outside the metric table throws.
  void setMeasured(std::int32_t id);
  // Every identifier from first to last, both included; a reversed range or
  // an end outside the table throws and marks nothing.
  void setMeasured(std::int32_t first, std::int32_t last);
  // False for an identifier outside the table.
  bool isMeasured(std::int32_t id) const {
    return id >= 0 && static_cast<std::size_t>(id) < kMetricCount &&
           m_measured.test(static_cast<std::size_t>(id));
  }
  bool hasMeasurements() const { return m_measured.any(); }
  std::size_t measuredCount() const { return m_measured.count(); }

  // Union of the measured sets; name, instance and family stay.
  CDHCPMeasurementSpec& operator+=(const CDHCPMeasurementSpec& other) {
    m_measured |= other.m_measured;
    return *this;
  }

 private:
  std::string m_name;
  std::uint32_t m_instance = 0;
  CProtocolFamily m_family;
  std::bitset<kMetricCount> m_measured;
};
