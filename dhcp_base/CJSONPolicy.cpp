#include "dhcp_base/CJSONPolicy.h"

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace {
const char* const kNames[] = {"none", "options", "all"};
}

void CJSONPolicy::set(std::string_view text) {
  std::string t = nuv::trim(text);
  for (unsigned i = 0; i < 3; ++i)
    if (nuv::iequals(t, kNames[i])) {
      m_value = static_cast<value_type>(i);
      return;
    }
  NUV_THROW("CJSONPolicy::set", nuv::CMessage("Cannot set json policy."),
            nuv::CMessage("Invalid or unknown value '%1'.").pushs(t));
}

const char* CJSONPolicy::string() const {
  return m_value <= all ? kNames[m_value] : "none";
}
