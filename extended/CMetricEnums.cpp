#include "extended/CMetricEnums.h"

#include "standard/CException.h"

namespace {
constexpr std::string_view kPrefix = "[%s].[%s].[%s].";
}

CMetricEnums::CMetricEnums() {
  name(fail, makeTemplate("fail"));
  name(execute, makeTemplate("execute"));
  name(parse, makeTemplate("parse"));
}

void CMetricEnums::name(std::int32_t id, const std::string& nameTemplate) {
  if (!m_names.emplace(id, nameTemplate).second)
    NUV_THROW(
        "CMetricEnums::name",
        nuv::CMessage("Failed to register metric %1 with name '%2'.").push(id).pushs(nameTemplate),
        nuv::CMessage("Metric is already defined."));
  m_ids.emplace(nameTemplate, id);
}

const std::string& CMetricEnums::name(std::int32_t id) const {
  static const std::string kUnknown = "unknown_metric";
  const auto it = m_names.find(id);
  return it == m_names.end() ? kUnknown : it->second;
}

std::string_view CMetricEnums::suffix(std::int32_t id) const {
  std::string_view text = name(id);
  if (text.substr(0, kPrefix.size()) == kPrefix) text.remove_prefix(kPrefix.size());
  return text;
}

std::int32_t CMetricEnums::index(const std::string& nameTemplate) const {
  const auto it = m_ids.find(nameTemplate);
  return it == m_ids.end() ? -1 : it->second;
}

std::string CMetricEnums::makeTemplate(std::string_view suffix) {
  std::string out(kPrefix);
  out += suffix;
  return out;
}
