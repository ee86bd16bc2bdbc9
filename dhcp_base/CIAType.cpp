#include "dhcp_base/CIAType.h"

#include "dhcp_base/NameTable.h"
#include "standard/CException.h"

namespace {
const char* const kNames[] = {"iata", "iana", "iapd"};
const char* const kWireNames[] = {"ia_ta", "ia_na", "ia_pd"};
}  // namespace

CIAType::CIAType(std::uint8_t value) : m_value(value) {
  if (value > iapd && value != unknown)
    NUV_THROW("CIAType::CIAType", nuv::CMessage("Cannot set IA type."),
              nuv::CMessage("Invalid type value '%1'.").push(value));
}

CIAType& CIAType::operator=(std::string_view name) {
  auto v = nametable::value(kNames, name);
  if (!v) v = nametable::value(kWireNames, name);
  if (!v)
    NUV_THROW("CIAType::operator=", nuv::CMessage("Cannot set IA type."),
              nuv::CMessage("Invalid value '%1'.").pushs(name));
  m_value = static_cast<std::uint8_t>(*v);
  return *this;
}

CIAType CIAType::fromOptionCode(std::uint32_t code) {
  switch (code) {
    case 3:
      return iana;
    case 4:
      return iata;
    case 25:
      return iapd;
    default:
      return unknown;
  }
}

std::string CIAType::string() const {
  const char* n = nametable::name(kNames, m_value);
  return n ? n : "unknown";
}

std::uint32_t CIAType::_pick(std::uint32_t ta, std::uint32_t na, std::uint32_t pd,
                             const char* context) const {
  switch (m_value) {
    case iata:
      return ta;
    case iana:
      return na;
    case iapd:
      return pd;
    default:
      NUV_THROW(context, nuv::CMessage("Unknown binding id type."),
                nuv::CMessage("Type undefined."));
  }
}

std::uint32_t CIAType::iaTypeTag() const {
  return _pick(4, 3, 25, "CIAType::iaTypeTag");
}

std::uint32_t CIAType::iaAddrTag() const {
  return _pick(5, 5, 26, "CIAType::iaAddrTag");
}

std::uint32_t CIAType::iaAddrAddressTag() const {
  return _pick(1, 1, 4, "CIAType::iaAddrAddressTag");
}
