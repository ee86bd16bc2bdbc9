#include "standard/CMessageStore.h"

#include <fstream>

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace nuv {

void CMessageStore::setLocales(const std::vector<std::string>& locales) {
  m_locales = {"en_US"};
  m_locales.insert(locales.begin(), locales.end());
}

void CMessageStore::load(const std::string& path) {
  std::ifstream in(path);
  if (!in)
    NUV_THROW("CMessageStore::load", CMessage("Cannot open message locale file '%1'.").pushs(path),
              CMessage(CException::errText(errno)));
  load(in);
}

void CMessageStore::load(std::istream& in) {
  CStringMap fields(true);
  std::string line, lastKey;
  int lineNo = 0, recordLine = 0;
  auto flush = [&] {
    if (!fields.empty()) _processRecord(fields, recordLine);
    fields.clear();
    lastKey.clear();
  };
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (trim(line).empty()) {
      flush();
      continue;
    }
    if (line[0] == '#') continue;
    if ((line[0] == ' ' || line[0] == '\t') && !lastKey.empty()) {
      fields.set(lastKey, fields.get(lastKey) + " " + trim(line));
      continue;
    }
    const auto colon = line.find(':');
    const std::string key =
        colon == std::string::npos ? std::string() : trim(line.substr(0, colon));
    if (key.empty() || fields.has(key))
      NUV_THROW("CMessageStore::_processRecord",
                CMessage("Invalid record at line %1 in message locale file.").push(lineNo),
                CMessage("Malformed field."));
    if (fields.empty()) recordLine = lineNo;
    fields.set(key, trim(line.substr(colon + 1)));
    lastKey = key;
  }
  flush();
}

void CMessageStore::_processRecord(const CStringMap& fields, int firstLine) {
  if (!fields.has("en_US"))
    NUV_THROW("CMessageStore::_processRecord",
              CMessage("Invalid record at line %1 in message locale file.").push(firstLine),
              CMessage("Missing key 'en_US'."));
  Record rec;
  rec.id = fields.get_int32("id", -1);
  rec.description = fields.get("description");
  for (const auto& [key, value] : fields) {
    if (key == "id" || key == "description") continue;
    if (m_locales.count(key)) rec.templates[key] = value;
  }
  const std::string english = fields.get("en_US");
  m_records[english] = std::move(rec);
}

const std::string* CMessageStore::lookup(const std::string& english,
                                         const std::string& locale) const {
  const auto rec = m_records.find(english);
  if (rec == m_records.end()) return nullptr;
  const auto t = rec->second.templates.find(locale);
  return t == rec->second.templates.end() ? nullptr : &t->second;
}

}  // namespace nuv
