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
    // The option's own reason says what is wrong with the value.
    const std::string why = e.whyText();
    in.fail(nuv::CMessage(why.empty() || why == "Invalid value." ? "%1" : "%1 %2")
                .pushs(e.whatText())
                .pushs(why));
  }
}
