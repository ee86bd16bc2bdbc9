#include "dhcp_base/COptionLookupFileReader.h"

void COptionLookupFileReader::execute(const std::string& path, const std::string& file) {
  m_map.clear();
  CSpecFileReader::execute(path, file);
  m_lookup.destructiveMerge(m_map);
  m_map.clear();
}

void COptionLookupFileReader::_processRecord(const std::string& record, unsigned) {
  auto def = std::make_shared<COptionAttributes>();
  def->set(record);
  m_map[COptionLookupHelper{def->tagPath, def->vendorId}] = std::move(def);
}
