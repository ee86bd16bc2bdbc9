#include "dhcp_base/COptionType.h"

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace {
const char* const kNames[COptionType::kCount] = {
    "8bit",          "16bit",        "24bit",      "32bit",       "64bit",
    "128bit",        "string",       "ipaddress",  "boolean",     "time",
    "byte_sequence", "subencoded",   "topencoded", "dnsname",     "expression",
    "control",       "fixed_offset", "snmp_oid",   "ip_endpoint", "unknown"};

struct Alias {
  const char* name;
  COptionType::option_type type;
};
const Alias kAliases[] = {
    {"ipaddr", COptionType::ot_ipaddress},
    {"bool", COptionType::ot_boolean},
    {"byte_seq", COptionType::ot_byte_sequence},
    {"bytes", COptionType::ot_byte_sequence},
    {"mac", COptionType::ot_byte_sequence},
    {"hardware_address", COptionType::ot_byte_sequence},
    {"hexstore", COptionType::ot_byte_sequence},
    {"subenc", COptionType::ot_subencoded},
    {"topenc", COptionType::ot_topencoded},
};
}  // namespace

const char* COptionType::string(unsigned type) {
  return type < kCount ? kNames[type] : "unknown";
}

void COptionType::set(std::string_view text) {
  std::string t = nuv::trim(text);
  for (unsigned i = 0; i < kCount; ++i)
    if (nuv::iequals(t, kNames[i])) {
      m_type = static_cast<option_type>(i);
      return;
    }
  for (const Alias& a : kAliases)
    if (nuv::iequals(t, a.name)) {
      m_type = a.type;
      return;
    }
  NUV_THROW("COptionType::set", nuv::CMessage("Cannot serialize option type."),
            nuv::CMessage("Unknown option type '%1'.").pushs(t));
}
