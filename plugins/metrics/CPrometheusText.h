#pragma once
// The Prometheus text exposition format (version 0.0.4): each metric
// family once with its HELP and TYPE lines, then its samples. Names are
// made valid ([a-zA-Z_:][a-zA-Z0-9_:]*); label values are escaped.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CPrometheusText {
 public:
  static constexpr const char* kContentType = "text/plain; version=0.0.4; charset=utf-8";
  using Labels = std::vector<std::pair<std::string, std::string>>;

  // Starts a family; type is "counter" or "gauge".
  void family(const std::string& name, const char* type, const std::string& help);
  // A sample of the family last started.
  void sample(double value, const Labels& labels = {});

  const std::string& text() const { return m_text; }

  // Every character outside [a-zA-Z0-9_:] becomes '_'; a leading digit
  // gets a '_' in front.
  static std::string metricName(const std::string& raw);
  // "packets.v6_solicit" -> "dhcp6d_packets_v6_solicit_total".
  static std::string counterName(const std::string& dotted);

 private:
  std::string m_text;
  std::string m_family;
};
