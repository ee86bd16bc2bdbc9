#include "dhcp_database/CPrstDHCPRecord.h"

#include "dhcp_database/CDHCPRecordContext.h"
#include "dhcp_database/CRecordTextReader.h"
#include "dhcp_database/CRecordTextWriter.h"

void CPrstDHCPRecord::_postConstruction() {
  context(CDHCPRecordContext::current());
}

std::string CPrstDHCPRecord::string() const {
  CRecordTextWriter out;
  _write(out);
  out.addOptions(m_options);
  return out.string();
}

nuv::CStringMap CPrstDHCPRecord::stringMap() const {
  CRecordTextWriter out;
  _write(out);
  out.addOptions(m_options);
  return out.map();
}

void CPrstDHCPRecord::string(std::string_view text) {
  _set(CRecordTextReader::parse(text));
}

COptionStorePtr CPrstDHCPRecord::_optionsFromText(const CRecordTextReader& in) const {
  try {
    return m_options.fromText(in.map());
  } catch (const nuv::CException& e) {
    in.fail(nuv::CMessage(e.whatText()));
  }
}
