#include "dhcp_base/CValueTypeInserter.h"

#include <type_traits>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionTypes.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "standard/CException.h"

namespace {
template <class C, class V>
bool store(COption& o, const V& v, const std::size_t* index) {
  auto& values = static_cast<C&>(o).values();
  if (index) {
    CValueTypeConverter::checkIndex(o, *index);
    values[*index] = v;
  } else {
    values.push_back(v);
  }
  return true;
}

template <class V>
std::string text(const V& v) {
  if constexpr (std::is_same_v<V, bool>)
    return v ? "true" : "false";
  else if constexpr (std::is_integral_v<V>)
    return std::to_string(v);
  else if constexpr (std::is_same_v<V, std::string>)
    return v;
  else if constexpr (std::is_same_v<V, nuv::CExpression>)
    return v.text();
  else
    return v.string();
}

[[noreturn]] void mismatch(const std::string& value, const COption& o) {
  NUV_THROW("CValueTypeInserter::push_back",
            nuv::CMessage("Cannot insert value '%1' into option %2, type '%3'.")
                .pushs(value)
                .pushs(o.label())
                .pushs(o.valueType().string()),
            nuv::CMessage("Type mismatch."));
}
}  // namespace

template <class V>
void CValueTypeInserter::_put(const V& v, COption& o, const std::size_t* index) {
  const COptionType t = o.valueType();
  bool ok = false;
  if constexpr (std::is_same_v<V, std::uint8_t>) {
    ok = t == COptionType::ot_8bit && store<C8BitOption>(o, v, index);
  } else if constexpr (std::is_same_v<V, std::uint16_t>) {
    ok = t == COptionType::ot_16bit && store<C16BitOption>(o, v, index);
  } else if constexpr (std::is_same_v<V, std::uint32_t>) {
    ok = (t == COptionType::ot_24bit && store<C24BitOption>(o, v, index)) ||
         (t == COptionType::ot_32bit && store<C32BitOption>(o, v, index));
  } else if constexpr (std::is_same_v<V, std::uint64_t>) {
    ok = t == COptionType::ot_64bit && store<C64BitOption>(o, v, index);
  } else if constexpr (std::is_same_v<V, bool>) {
    ok = t == COptionType::ot_boolean && store<CBooleanOption>(o, v, index);
  } else if constexpr (std::is_same_v<V, std::string>) {
    ok = (t == COptionType::ot_string && store<CStringOption>(o, v, index)) ||
         (t == COptionType::ot_dnsname && store<CDNSNameOption>(o, v, index));
  } else if constexpr (std::is_same_v<V, nuv::CHexStore>) {
    ok = t == COptionType::ot_byte_sequence && store<CHexStoreOption>(o, v, index);
  } else if constexpr (std::is_same_v<V, nuv::CIPAddress>) {
    ok = t == COptionType::ot_ipaddress && store<CIPAddressOption>(o, v, index);
  } else if constexpr (std::is_same_v<V, nuv::CTimeT>) {
    ok = t == COptionType::ot_time && store<CTimeOption>(o, v, index);
  } else if constexpr (std::is_same_v<V, nuv::CEndpoint>) {
    ok = t == COptionType::ot_ip_endpoint && store<CEndpointOption>(o, v, index);
  } else if constexpr (std::is_same_v<V, CVarbind>) {
    ok = t == COptionType::ot_snmp_oid && store<CVarbindOption>(o, v, index);
  } else if constexpr (std::is_same_v<V, nuv::CExpression>) {
    ok = t == COptionType::ot_expression && store<CExpressionOption>(o, v, index);
  }
  if (!ok) mismatch(text(v), o);
}

void CValueTypeInserter::_putVariant(const nuv::CVariant& v, COption& o, const std::size_t* index) {
  switch (o.valueType()) {
    case COptionType::ot_8bit:
      return _put(static_cast<std::uint8_t>(v.uinteger()), o, index);
    case COptionType::ot_16bit:
      return _put(static_cast<std::uint16_t>(v.uinteger()), o, index);
    case COptionType::ot_24bit:
    case COptionType::ot_32bit:
      return _put(static_cast<std::uint32_t>(v.uinteger()), o, index);
    case COptionType::ot_64bit:
      return _put(static_cast<std::uint64_t>(v.uinteger()), o, index);
    case COptionType::ot_boolean:
      return _put(v.boolean(), o, index);
    case COptionType::ot_string:
    case COptionType::ot_dnsname:
      return _put(v.string(), o, index);
    case COptionType::ot_byte_sequence:
      return _put(v.hexstore(), o, index);
    case COptionType::ot_ipaddress:
      return _put(v.ipaddress(), o, index);
    case COptionType::ot_time:
      return _put(v.time(), o, index);
    case COptionType::ot_ip_endpoint:
      return _put(v.endpoint(), o, index);
    case COptionType::ot_expression:
      return _put(nuv::CExpression(o.context()->evaluator(), v.string()), o, index);
    default:
      mismatch(v.string(), o);
  }
}

#define NUV_INSERTER_PAIR(Type)                                                  \
  void CValueTypeInserter::push_back(Type v, COption& option) {                  \
    _put(v, option, nullptr);                                                    \
  }                                                                              \
  void CValueTypeInserter::replace(Type v, COption& option, std::size_t index) { \
    _put(v, option, &index);                                                     \
  }

NUV_INSERTER_PAIR(std::uint8_t)
NUV_INSERTER_PAIR(std::uint16_t)
NUV_INSERTER_PAIR(std::uint32_t)
NUV_INSERTER_PAIR(std::uint64_t)
NUV_INSERTER_PAIR(bool)
NUV_INSERTER_PAIR(const std::string&)
NUV_INSERTER_PAIR(const nuv::CHexStore&)
NUV_INSERTER_PAIR(const nuv::CIPAddress&)
NUV_INSERTER_PAIR(const nuv::CTimeT&)
NUV_INSERTER_PAIR(const nuv::CEndpoint&)
NUV_INSERTER_PAIR(const CVarbind&)
NUV_INSERTER_PAIR(const nuv::CExpression&)
#undef NUV_INSERTER_PAIR

void CValueTypeInserter::push_back(const nuv::CVariant& v, COption& option) {
  _putVariant(v, option, nullptr);
}

void CValueTypeInserter::replace(const nuv::CVariant& v, COption& option, std::size_t index) {
  _putVariant(v, option, &index);
}

namespace {
[[noreturn]] void childMismatch(const COption& child, const COption& o) {
  NUV_THROW("CValueTypeInserter::push_back",
            nuv::CMessage("Cannot insert option '%1' into option %2, type '%3'.")
                .pushs(child.label())
                .pushs(o.label())
                .pushs(o.valueType().string()),
            nuv::CMessage("Type mismatch."));
}
}  // namespace

void CValueTypeInserter::push_back(const COption::Ptr& child, COption& option) {
  if (!option.canParent()) childMismatch(*child, option);
  option.append(child);
}

void CValueTypeInserter::replace(const COption::Ptr& child, COption& option, std::size_t index) {
  if (!option.canParent()) childMismatch(*child, option);
  CValueTypeConverter::checkIndex(option, index);
  child->parent(&option);
  (*option.children())[index] = child;
}
