#include "dhcp_base/CValueTypeConverter.h"

#include "dhcp_base/COptionTypes.h"
#include "standard/CException.h"

void CValueTypeConverter::checkIndex(const COption& option, std::size_t index) {
  if (index >= option.count())
    NUV_THROW(
        "CValueTypeConverter::checkIndex",
        nuv::CMessage("Cannot access element %1 in option %2.").push(index).pushs(option.label()),
        nuv::CMessage("Index out of range."));
}

namespace {
// By value: vector<bool> has no references to hand out.
template <class C>
typename C::value_type at(const COption& option, std::size_t index) {
  CValueTypeConverter::checkIndex(option, index);
  return static_cast<const C&>(option).values()[index];
}

// The raw unsigned value of a numeric option.
bool numeric(const COption& o, std::size_t i, std::uint64_t& out) {
  switch (o.valueType()) {
    case COptionType::ot_8bit:
      out = at<C8BitOption>(o, i);
      return true;
    case COptionType::ot_16bit:
      out = at<C16BitOption>(o, i);
      return true;
    case COptionType::ot_24bit:
      out = at<C24BitOption>(o, i);
      return true;
    case COptionType::ot_32bit:
      out = at<C32BitOption>(o, i);
      return true;
    case COptionType::ot_64bit:
      out = at<C64BitOption>(o, i);
      return true;
    default:
      return false;
  }
}

[[noreturn]] void noVariant(const char* what) {
  NUV_THROW("CValueTypeConverter::variant", nuv::CMessage(what),
            nuv::CMessage("Invalid conversion."));
}
}  // namespace

nuv::CVariant CValueTypeConverter::variant(const COption& o, std::size_t i) {
  std::uint64_t n = 0;
  switch (o.valueType()) {
    case COptionType::ot_8bit:
    case COptionType::ot_16bit:
    case COptionType::ot_24bit:
    case COptionType::ot_32bit:
    case COptionType::ot_64bit:
      numeric(o, i, n);
      if (o.attributes().element.isSigned) {
        const unsigned bits = o.valueType() == COptionType::ot_8bit    ? 8
                              : o.valueType() == COptionType::ot_16bit ? 16
                              : o.valueType() == COptionType::ot_24bit ? 24
                              : o.valueType() == COptionType::ot_32bit ? 32
                                                                       : 64;
        const std::uint64_t sign = std::uint64_t{1} << (bits - 1);
        const std::uint64_t mask = bits == 64 ? ~std::uint64_t{0} : (sign << 1) - 1;
        return nuv::CVariant(static_cast<std::int64_t>((n & sign) ? (n | ~mask) : n));
      }
      return nuv::CVariant(n);
    case COptionType::ot_boolean:
      return nuv::CVariant(static_cast<bool>(at<CBooleanOption>(o, i)));
    case COptionType::ot_string:
      return nuv::CVariant(at<CStringOption>(o, i));
    case COptionType::ot_dnsname:
      return nuv::CVariant(at<CDNSNameOption>(o, i));
    case COptionType::ot_byte_sequence:
      return nuv::CVariant(at<CHexStoreOption>(o, i));
    case COptionType::ot_ipaddress:
      return nuv::CVariant(at<CIPAddressOption>(o, i));
    case COptionType::ot_time:
      return nuv::CVariant(at<CTimeOption>(o, i));
    case COptionType::ot_ip_endpoint:
      return nuv::CVariant(at<CEndpointOption>(o, i));
    case COptionType::ot_snmp_oid:
      return nuv::CVariant(at<CVarbindOption>(o, i).string());
    case COptionType::ot_expression: {
      nuv::CMultiVariant r = *at<CExpressionOption>(o, i);
      return r.empty() ? nuv::CVariant() : r.front();
    }
    case COptionType::ot_subencoded:
      noVariant("Cannot convert a subencoded option to a variant.");
    case COptionType::ot_topencoded:
      noVariant("Cannot convert a topencoded option to a variant.");
    case COptionType::ot_fixed_offset:
      noVariant("Cannot convert a fixed_offset option to a variant.");
    case COptionType::ot_control:
      noVariant("Cannot convert protocol control data type to a variant.");
    default:
      noVariant("Cannot convert unknown data type to a variant.");
  }
}

std::uint8_t CValueTypeConverter::uint8(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_8bit) return at<C8BitOption>(o, i);
  return static_cast<std::uint8_t>(variant(o, i).uinteger());
}
std::int8_t CValueTypeConverter::int8(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_8bit) return static_cast<std::int8_t>(at<C8BitOption>(o, i));
  return static_cast<std::int8_t>(variant(o, i).integer());
}
std::uint16_t CValueTypeConverter::uint16(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_16bit) return at<C16BitOption>(o, i);
  return static_cast<std::uint16_t>(variant(o, i).uinteger());
}
std::int16_t CValueTypeConverter::int16(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_16bit)
    return static_cast<std::int16_t>(at<C16BitOption>(o, i));
  return static_cast<std::int16_t>(variant(o, i).integer());
}
std::uint32_t CValueTypeConverter::uint32(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_32bit) return at<C32BitOption>(o, i);
  if (o.valueType() == COptionType::ot_24bit) return at<C24BitOption>(o, i);
  return static_cast<std::uint32_t>(variant(o, i).uinteger());
}
std::int32_t CValueTypeConverter::int32(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_32bit)
    return static_cast<std::int32_t>(at<C32BitOption>(o, i));
  return static_cast<std::int32_t>(variant(o, i).integer());
}
std::uint64_t CValueTypeConverter::uint64(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_64bit) return at<C64BitOption>(o, i);
  return variant(o, i).uinteger();
}
std::int64_t CValueTypeConverter::int64(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_64bit)
    return static_cast<std::int64_t>(at<C64BitOption>(o, i));
  return variant(o, i).integer();
}
bool CValueTypeConverter::boolean(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_boolean) return at<CBooleanOption>(o, i);
  return variant(o, i).boolean();
}
std::string CValueTypeConverter::string(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_string) return at<CStringOption>(o, i);
  if (o.valueType() == COptionType::ot_dnsname) return at<CDNSNameOption>(o, i);
  return variant(o, i).string();
}
nuv::CHexStore CValueTypeConverter::hexstore(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_byte_sequence) return at<CHexStoreOption>(o, i);
  return variant(o, i).hexstore();
}
nuv::CIPAddress CValueTypeConverter::ip(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_ipaddress) return at<CIPAddressOption>(o, i);
  return variant(o, i).ipaddress();
}
nuv::CTimeT CValueTypeConverter::time(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_time) return at<CTimeOption>(o, i);
  return variant(o, i).time();
}
nuv::CEndpoint CValueTypeConverter::endpoint(const COption& o, std::size_t i) {
  if (o.valueType() == COptionType::ot_ip_endpoint) return at<CEndpointOption>(o, i);
  return variant(o, i).endpoint();
}
