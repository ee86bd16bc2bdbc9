#include "dhcp_database/CBinding6Tuple.h"

#include <charconv>
#include <vector>

#include "standard/CException.h"
#include "standard/StringUtil.h"

bool CBinding6Tuple::operator<(const CBinding6Tuple& o) const {
  if (m_duid != o.m_duid) return m_duid < o.m_duid;
  if (m_iaType.value() != o.m_iaType.value()) return m_iaType.value() < o.m_iaType.value();
  return m_iaid < o.m_iaid;
}

std::string CBinding6Tuple::string() const {
  return m_duid.string() + "," + m_iaType.string() + "," + std::to_string(m_iaid);
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
  CIAType type;
  try {
    type = nuv::trim(fields[1]);
  } catch (const nuv::CException&) {
    fail("Invalid IA type.");
  }
  const std::string iaidText = nuv::trim(fields[2]);
  std::uint32_t iaid = 0;
  const char* end = iaidText.data() + iaidText.size();
  auto [ptr, ec] = std::from_chars(iaidText.data(), end, iaid);
  if (iaidText.empty() || ec != std::errc() || ptr != end) fail("Invalid IAID.");
  m_duid = std::move(duid);
  m_iaType = type;
  m_iaid = iaid;
}
