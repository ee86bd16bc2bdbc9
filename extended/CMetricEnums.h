#pragma once
// The registry of metric names: counters are addressed by a numeric
// identifier and carry a dotted name template "[%s].[%s].[%s].<suffix>",
// whose bracketed fields the statistics service fills with where the
// counter lives.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

class CMetricEnums {
 public:
  enum BaseMetric : std::int32_t { fail = 0, execute = 1, parse = 2 };

  CMetricEnums();
  virtual ~CMetricEnums() = default;

  // Registers a template; an identifier registered before throws.
  void name(std::int32_t id, const std::string& nameTemplate);
  // The template, or "unknown_metric" for an identifier never registered.
  const std::string& name(std::int32_t id) const;
  // The template without its bracketed fields ("packets.input"), or
  // "unknown_metric".
  std::string_view suffix(std::int32_t id) const;
  // The identifier whose template is exactly nameTemplate, or -1.
  std::int32_t index(const std::string& nameTemplate) const;
  bool isNamed(std::int32_t id) const { return m_names.count(id) != 0; }
  const std::map<std::int32_t, std::string>& all() const { return m_names; }

  static std::string makeTemplate(std::string_view suffix);

 private:
  std::map<std::int32_t, std::string> m_names;
  std::map<std::string, std::int32_t> m_ids;  // reverse of m_names
};
