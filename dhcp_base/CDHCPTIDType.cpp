#include "dhcp_base/CDHCPTIDType.h"

#include "dhcp_base/NameTable.h"
#include "standard/CException.h"

namespace {
const char* const kNames[] = {"unknown", "rid", "cid", "sid", "self", "hostname"};
}  // namespace

CDHCPTIDType::CDHCPTIDType(std::uint8_t value) : m_value(value) {
  if (value > hostname)
    NUV_THROW("CDHCPTIDType::CDHCPTIDType", nuv::CMessage("Cannot set trusted id type."),
              nuv::CMessage("Invalid trusted id type value '%1'.").push(value));
}

CDHCPTIDType& CDHCPTIDType::operator=(std::string_view name) {
  const auto v = nametable::value(kNames, name);
  if (!v)
    NUV_THROW("CDHCPTIDType::operator=", nuv::CMessage("Cannot set trusted id type."),
              nuv::CMessage("Invalid trusted id value '%1'.").pushs(name));
  m_value = static_cast<std::uint8_t>(*v);
  return *this;
}

std::string CDHCPTIDType::string() const {
  return nametable::name(kNames, m_value);
}
