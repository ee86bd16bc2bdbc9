#include "oodb/CPrstValueTraits.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "oodb/CPrstException.h"
#include "standard/StringUtil.h"

namespace {

[[noreturn]] void badValue(std::string_view text, const char* kind) {
  PRST_THROW("CPrstValueTraits::parse",
             nuv::CMessage("Cannot read '%1' as %2.").pushs(text).pushs(kind),
             nuv::CMessage("Invalid value."));
}

}  // namespace

std::int64_t prst_detail::parseSigned(std::string_view text, std::int64_t min, std::int64_t max) {
  const std::string t = nuv::trim(text);
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(t.c_str(), &end, 10);
  if (t.empty() || *end != '\0' || errno != 0 || v < min || v > max) badValue(text, "an integer");
  return v;
}

std::uint64_t prst_detail::parseUnsigned(std::string_view text, std::uint64_t max,
                                         bool allowSigned32) {
  const std::string t = nuv::trim(text);
  if (!t.empty() && t[0] == '-') {
    if (!allowSigned32) badValue(text, "an unsigned integer");
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(parseSigned(t, INT32_MIN, -1)));
  }
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(t.c_str(), &end, 10);
  if (t.empty() || *end != '\0' || errno != 0 || v > max) badValue(text, "an unsigned integer");
  return v;
}

bool prst_detail::parseBool(std::string_view text) {
  const std::string t = nuv::toLower(nuv::trim(text));
  if (t == "true" || t == "1" || t == "yes" || t == "on") return true;
  if (t == "false" || t == "0" || t == "no" || t == "off") return false;
  badValue(text, "a boolean");
}

double prst_detail::parseDouble(std::string_view text) {
  const std::string t = nuv::trim(text);
  char* end = nullptr;
  const double v = std::strtod(t.c_str(), &end);
  if (t.empty() || *end != '\0') badValue(text, "a number");
  return v;
}

nuv::CIPAddress CPrstValueTraits<nuv::CIPAddress>::fromDB(const CDBValue& v) {
  if (v.isNull() || v.textRef().empty()) return {};
  return parse(v.textRef());
}

nuv::CIPAddress CPrstValueTraits<nuv::CIPAddress>::parse(std::string_view text) {
  const std::string t = nuv::trim(text);
  if (t.empty()) return {};
  if (auto a = nuv::CIPAddress::fromText(t)) return *a;
  badValue(text, "an ip address");
}

CDBValue CPrstValueTraits<nuv::CHexStore>::toDB(const nuv::CHexStore& v) {
  if (v.separator() == "-") return CDBValue::ofText(v.string());
  nuv::CHexStore copy(v);
  copy.setSeparator("-");
  return CDBValue::ofText(copy.string());
}

nuv::CHexStore CPrstValueTraits<nuv::CHexStore>::parse(std::string_view text) {
  try {
    return nuv::CHexStore::parse(nuv::trim(text), "-");
  } catch (const nuv::CException&) {
    badValue(text, "a byte string");
  }
}

nuv::CTimeT CPrstValueTraits<nuv::CTimeT>::parse(std::string_view text) {
  if (auto t = nuv::CTimeT::fromText(text)) return *t;
  badValue(text, "a time");
}

CDBValue dbValueFromText(CDBType type, std::string_view text) {
  switch (type) {
    case CDBType::boolean:
      return CPrstValueTraits<bool>::toDB(prst_detail::parseBool(text));
    case CDBType::int32:
    case CDBType::longInt:
    case CDBType::shortInt:
    case CDBType::domainID:
    case CDBType::accessID:
      return CDBValue::ofInt(prst_detail::parseSigned(text, INT32_MIN, INT32_MAX));
    case CDBType::uint32:
    case CDBType::ulongInt:
    case CDBType::ushortInt:
      return CDBValue::ofInt(
          static_cast<std::int64_t>(prst_detail::parseUnsigned(text, UINT32_MAX, true)));
    case CDBType::int64:
    case CDBType::numeric:
    case CDBType::anyNumeric:
      return CDBValue::ofInt(prst_detail::parseSigned(text, INT64_MIN, INT64_MAX));
    case CDBType::uint64:
      return CPrstValueTraits<std::uint64_t>::toDB(
          prst_detail::parseUnsigned(text, UINT64_MAX, false));
    case CDBType::floatNum:
    case CDBType::doubleNum:
      return CDBValue::ofReal(prst_detail::parseDouble(text));
    case CDBType::timeStamp:
    case CDBType::date:
    case CDBType::time:
      return CPrstValueTraits<nuv::CTimeT>::toDB(CPrstValueTraits<nuv::CTimeT>::parse(text));
    case CDBType::ipAddress:
      return CPrstValueTraits<nuv::CIPAddress>::toDB(
          CPrstValueTraits<nuv::CIPAddress>::parse(text));
    case CDBType::hexStore:
      return CPrstValueTraits<nuv::CHexStore>::toDB(CPrstValueTraits<nuv::CHexStore>::parse(text));
    case CDBType::accessRights:
      return CDBValue::ofInt(CAccessRights::parse(text).bits());
    default:
      return CDBValue::ofText(std::string(text));
  }
}
