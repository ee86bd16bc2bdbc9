#include "dhcp_base/CFixedOffsetStorage.h"

#include <cstdlib>

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace {
std::string cleanField(std::string_view raw) {
  std::string out;
  for (char c : raw)
    if (c != ' ' && c != '\t' && c != '"' && c != '\\' && c != '\r' && c != '\n') out += c;
  return out;
}

bool readNumber(const std::string& text, std::uint32_t& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  unsigned long v = std::strtoul(text.c_str(), &end, 10);
  if (*end != '\0' || v > 0xffffffffUL) return false;
  out = static_cast<std::uint32_t>(v);
  return true;
}
}  // namespace

CFixedRawOffset CFixedRawOffset::parse(std::string_view text) {
  static const char* const kWhy[] = {"Cannot locate a 'tag' definition.",
                                     "Cannot locate an 'offset' definition.",
                                     "Cannot locate a 'length' definition."};
  std::vector<std::string> fields = nuv::split(text, ',');
  CFixedRawOffset e;
  std::uint32_t* slots[] = {&e.code, &e.offset, &e.length};
  for (unsigned i = 0; i < 3; ++i)
    if (i >= fields.size() || !readNumber(cleanField(fields[i]), *slots[i]))
      NUV_THROW("CFixedRawOffset::parse",
                nuv::CMessage("Format '%1' does not describe a valid fixed offset.").pushs(text),
                nuv::CMessage(kWhy[i]));
  return e;
}

std::string CFixedRawOffset::string() const {
  return std::to_string(code) + "," + std::to_string(offset) + "," + std::to_string(length);
}

void CFixedOffsetStorage::set(std::string_view text) {
  std::vector<CFixedRawOffset> entries;
  for (const std::string& item : nuv::split(text, ';'))
    if (!cleanField(item).empty()) entries.push_back(CFixedRawOffset::parse(item));
  m_entries.swap(entries);
}

std::string CFixedOffsetStorage::string() const {
  std::string out;
  for (const CFixedRawOffset& e : m_entries) {
    if (!out.empty()) out += "; ";
    out += e.string();
  }
  return out;
}

const CFixedRawOffset* CFixedOffsetStorage::find(std::uint32_t code) const {
  for (const CFixedRawOffset& e : m_entries)
    if (e.code == code) return &e;
  return nullptr;
}
