#include "dhcp_base/COptionLookupFileReader.h"

#include "extended/CMasterController.h"

COptionLookupFileReader::COptionLookupFileReader(COptionLookup& lookup) : m_lookup(lookup) {
  if (lookup.controller()) logSink(&lookup.controller()->log());
}

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
