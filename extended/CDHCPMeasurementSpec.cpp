#include "extended/CDHCPMeasurementSpec.h"

#include "standard/CException.h"

namespace {
bool inTable(std::int32_t id) {
  return id >= 0 && static_cast<std::size_t>(id) < CDHCPMeasurementSpec::kMetricCount;
}
}  // namespace

CDHCPMeasurementSpec CDHCPMeasurementSpec::forHandlerThread(const std::string& text,
                                                            std::uint32_t instance,
                                                            CProtocolFamily family) {
  CDHCPMeasurementSpec spec("task-" + text, instance, family);
  spec.setMeasured(CDHCPMetricEnums::packetsV6Solicit, CDHCPMetricEnums::packetsV6LeaseQueryReply);
  spec.setMeasured(CDHCPMetricEnums::packetsInput, CDHCPMetricEnums::packetsSendFail);
  spec.setMeasured(CDHCPMetricEnums::addressRequests, CDHCPMetricEnums::addressUnavailable);
  spec.setMeasured(CDHCPMetricEnums::packetsDbUnavailable);
  return spec;
}

void CDHCPMeasurementSpec::setMeasured(std::int32_t id) {
  if (!inTable(id))
    NUV_THROW("CDHCPMeasurementSpec::setMeasured",
              nuv::CMessage("Cannot measure metric %1.").push(id),
              nuv::CMessage("Unknown metric."));
  m_measured.set(static_cast<std::size_t>(id));
}

void CDHCPMeasurementSpec::setMeasured(std::int32_t first, std::int32_t last) {
  const char* why = !inTable(first) || !inTable(last) ? "Unknown metric."
                    : first > last                    ? "Invalid range."
                                                      : nullptr;
  if (why)
    NUV_THROW("CDHCPMeasurementSpec::setMeasured",
              nuv::CMessage("Cannot measure metrics %1 to %2.").push(first).push(last),
              nuv::CMessage(why));
  for (std::int32_t id = first; id <= last; ++id) m_measured.set(static_cast<std::size_t>(id));
}
