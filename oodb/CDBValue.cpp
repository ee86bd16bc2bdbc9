#include "oodb/CDBValue.h"

#include <cerrno>
#include <cstdlib>

#include "oodb/CPrstException.h"

namespace {

[[noreturn]] void badNumber(const std::string& text) {
  PRST_THROW("CDBValue::asInt64",
             nuv::CMessage("Cannot read column value '%1' as a number.").pushs(text),
             nuv::CMessage("Invalid number."));
}

}  // namespace

std::int64_t CDBValue::asInt64() const {
  switch (m_kind) {
    case null:
      return 0;
    case integer:
      return m_int;
    case real:
      return static_cast<std::int64_t>(m_real);
    case text:
      break;
  }
  if (m_text.empty()) badNumber(m_text);
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(m_text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') badNumber(m_text);
  return v;
}

double CDBValue::asDouble() const {
  switch (m_kind) {
    case null:
      return 0;
    case integer:
      return static_cast<double>(m_int);
    case real:
      return m_real;
    case text:
      break;
  }
  char* end = nullptr;
  const double v = std::strtod(m_text.c_str(), &end);
  if (m_text.empty() || *end != '\0') badNumber(m_text);
  return v;
}

std::string CDBValue::asText() const {
  switch (m_kind) {
    case null:
      return {};
    case integer:
      return std::to_string(m_int);
    case real:
      return std::to_string(m_real);
    case text:
      break;
  }
  return m_text;
}

bool operator==(const CDBValue& a, const CDBValue& b) {
  if (a.m_kind != b.m_kind) return false;
  switch (a.m_kind) {
    case CDBValue::null:
      return true;
    case CDBValue::integer:
      return a.m_int == b.m_int;
    case CDBValue::real:
      return a.m_real == b.m_real;
    case CDBValue::text:
      break;
  }
  return a.m_text == b.m_text;
}
