#include "dhcp_database/CRecordTextWriter.h"

#include "dhcp_database/CPrstOptionStoreAttr.h"
#include "standard/StringUtil.h"

void CRecordTextWriter::addOptions(const CPrstOptionStoreAttr& options) {
  for (const std::string& line : nuv::split(options.text(), '\n')) {
    std::string t = nuv::trim(line);
    if (!t.empty()) add("option", std::move(t));
  }
}

std::string CRecordTextWriter::string() const {
  std::string out;
  for (const auto& [key, value] : m_items) out.append(key).append(" = ").append(value).append("\n");
  return out;
}

nuv::CStringMap CRecordTextWriter::map() const {
  nuv::CStringMap out(false);
  std::string options;
  for (const auto& [key, value] : m_items) {
    if (key == "option")
      options.append(value).append("\n");
    else
      out.set(key, value);
  }
  out.set("options", options);
  return out;
}

std::string CRecordTextWriter::lifetime(std::uint32_t seconds) {
  return seconds == 0xffffffffu ? "infinite" : std::to_string(seconds);
}
