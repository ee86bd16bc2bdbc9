#include "dhcp_base/CUserDefinable.h"

#include "standard/CException.h"
#include "standard/StringUtil.h"

void CUserDefinable::set(std::string_view text) {
  std::string t = nuv::trim(text);
  if (nuv::iequals(t, "allowed") || nuv::iequals(t, "true"))
    m_value = allowed;
  else if (nuv::iequals(t, "required"))
    m_value = required;
  else if (nuv::iequals(t, "disallowed") || nuv::iequals(t, "false"))
    m_value = disallowed;
  else
    NUV_THROW("CUserDefinable::set",
              nuv::CMessage("Cannot deserialize 'user_definable' value '%1'.").pushs(t),
              nuv::CMessage("Illegal value."));
}

const char* CUserDefinable::string() const {
  switch (m_value) {
    case allowed:
      return "allowed";
    case required:
      return "required";
    default:
      return "disallowed";
  }
}
