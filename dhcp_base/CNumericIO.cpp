#include "dhcp_base/CNumericIO.h"

#include <cerrno>
#include <cstdlib>

std::uint64_t parseOptionNumber(const std::string& text, const COption& option) {
  errno = 0;
  char* end = nullptr;
  std::uint64_t v = 0;
  if (!text.empty() && text[0] == '-')
    v = static_cast<std::uint64_t>(std::strtoll(text.c_str(), &end, 0));
  else
    v = std::strtoull(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0' || errno == ERANGE)
    CAbstractIO::_fail("CNumericIO::set", "Cannot set numeric value '%1' for option %2.",
                       "Value is not a number.", {text, option.label()});
  return v;
}
