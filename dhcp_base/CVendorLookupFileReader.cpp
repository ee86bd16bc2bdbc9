#include "dhcp_base/CVendorLookupFileReader.h"

void CVendorLookupFileReader::execute(const std::string& path, const std::string& file) {
  m_map.clear();
  CSpecFileReader::execute(path, file);
  m_lookup.destructiveMerge(m_map);
  m_map.clear();
}

void CVendorLookupFileReader::_processRecord(const std::string& record, unsigned) {
  auto def = std::make_shared<CVendorAttributes>();
  def->set(record);
  std::string key = def->vendorClass;
  m_map[key] = std::move(def);
}
