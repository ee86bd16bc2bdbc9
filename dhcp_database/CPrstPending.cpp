#include "dhcp_database/CPrstPending.h"

#include "dhcp_database/CDHCPRecordContext.h"
#include "dhcp_database/CPrstPool.h"
#include "dhcp_database/CRecordTextWriter.h"
#include "oodb/CIPrstSession.h"
#include "oodb/CPrstException.h"
#include "oodb/CPrstValueTraits.h"
#include "standard/CException.h"

void CPrstPending::_postConstruction() {
  m_context = CDHCPRecordContext::current();
}

std::int64_t CPrstPending::age() const {
  return static_cast<std::int64_t>(nuv::CTimeT::now().get()) -
         static_cast<std::int64_t>(m_offerTime.get().get());
}

std::string CPrstPending::string() const {
  CRecordTextWriter out;
  out.add("ipaddr", offeredAddress().isValid() ? offeredAddress().string() : std::string());
  out.add("relay", relayAddress().isValid() ? relayAddress().string() : std::string());
  out.add("source_pool", _OIDToPoolName(poolOID()));
  out.add("offer_time", offerTime().string());
  out.add("mod_time", modTime().string());
  _writeKey(out);
  return out.string();
}

void CPrstPending::string(std::string_view) {
  _set(nuv::CStringMap());
}

void CPrstPending::_set(const nuv::CStringMap&) {
  NUV_THROW("CPrstPending::_set", nuv::CMessage("Cannot set a pending record from text."),
            nuv::CMessage("This operation is not allowed."));
}
