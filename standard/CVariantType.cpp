#include "standard/CVariantType.h"

#include "standard/CException.h"

namespace nuv {

namespace {
const char* const kTypeNames[] = {"unknown",       "ip address", "boolean",     "time",    "string",
                                  "byte sequence", "integer",    "ip endpoint", "uinteger"};
const char* const kOperandWords[] = {"variant",       "ip address", "boolean",  "time",    "string",
                                     "byte sequence", "integer",    "endpoint", "uinteger"};
const char* const kSubTypeNames[] = {"general", "function name", "reserved word", "ipv4", "ipv6"};
}  // namespace

const char* CVariantType::string(unsigned type) {
  return type <= kLast ? kTypeNames[type] : kTypeNames[dt_unknown];
}

const char* CVariantType::operandWord(unsigned type) {
  return type <= kLast ? kOperandWords[type] : kOperandWords[dt_unknown];
}

void CVariantType::_checkValidity(unsigned value) {
  if (value > kLast)
    NUV_THROW("CVariantType::_checkValidity",
              CMessage("Cannot set variant data type from value %1.").push(value),
              CMessage("Illegal value."));
}

const char* CVariantSubType::string(unsigned subtype) {
  return subtype < sizeof kSubTypeNames / sizeof kSubTypeNames[0] ? kSubTypeNames[subtype]
                                                                  : "unknown";
}

CIPAddress::addr_type CVariantSubType::toAddrType(unsigned subtype) {
  if (subtype == dst_ipv4) return CIPAddress::ipv4;
  if (subtype == dst_ipv6) return CIPAddress::ipv6;
  NUV_THROW("CVariantSubType::toAddrType",
            CMessage("Cannot determine ip address type from variant subtype."),
            CMessage("Variant subtype does not map to an ip address type."));
}

CVariantSubType::data_subtype CVariantSubType::fromAddrType(CIPAddress::addr_type type) {
  if (type == CIPAddress::ipv4) return dst_ipv4;
  if (type == CIPAddress::ipv6) return dst_ipv6;
  NUV_THROW("CVariantSubType::fromAddrType",
            CMessage("Cannot determine variant subtype from ip address type."),
            CMessage("Unknown ip address type."));
}

}  // namespace nuv
