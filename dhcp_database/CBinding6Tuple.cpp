#include "dhcp_database/CBinding6Tuple.h"

#include <charconv>
#include <vector>

#include "standard/CException.h"
#include "standard/StringUtil.h"

bool CBinding6Tuple::operator<(const CBinding6Tuple& o) const {
  if (m_duid != o.m_duid) return m_duid < o.m_duid;
  if (m_iaType != o.m_iaType) return m_iaType < o.m_iaType;
  return m_iaid < o.m_iaid;
}

std::string CBinding6Tuple::string() const {
  return m_duid.string() + "," + iaTypeName(m_iaType) + "," + std::to_string(m_iaid);
}

void CBinding6Tuple::string(std::string_view text) {
  auto fail = [](const char* why) {
    // The tuple is a value of the message layer: its failures name that module.
    throw nuv::CException(nuv::CMessage("Cannot set binding tuple from text."), nuv::CMessage(why),
                          "dhcp_base", "CBinding6Tuple::string", __FILE__, __LINE__);
  };
  const std::vector<std::string> fields = nuv::split(text, ',');
  if (fields.size() != 3) fail(fields.size() < 2 ? "Invalid IA type." : "Invalid IAID.");
  nuv::CHexStore duid;
  try {
    duid = nuv::CHexStore::parse(nuv::trim(fields[0]));
  } catch (const nuv::CException&) {
    fail("Invalid DUID.");
  }
  const auto type = parseIAType(nuv::trim(fields[1]));
  if (!type) fail("Invalid IA type.");
  const std::string iaidText = nuv::trim(fields[2]);
  std::uint32_t iaid = 0;
  const char* end = iaidText.data() + iaidText.size();
  auto [ptr, ec] = std::from_chars(iaidText.data(), end, iaid);
  if (iaidText.empty() || ec != std::errc() || ptr != end) fail("Invalid IAID.");
  m_duid = std::move(duid);
  m_iaType = *type;
  m_iaid = iaid;
}

const char* CBinding6Tuple::iaTypeName(std::uint8_t type) {
  switch (type) {
    case iata:
      return "iata";
    case iana:
      return "iana";
    case iapd:
      return "iapd";
    default:
      return "unknown";
  }
}

std::optional<std::uint8_t> CBinding6Tuple::parseIAType(std::string_view text) {
  const std::string t = nuv::toLower(text);
  if (t == "iana" || t == "ia_na") return iana;
  if (t == "iata" || t == "ia_ta") return iata;
  if (t == "iapd" || t == "ia_pd") return iapd;
  return std::nullopt;
}
