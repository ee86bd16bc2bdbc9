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

std::uint64_t parseOptionNumber(const std::string& text, const COption& option, unsigned width) {
  const std::uint64_t v = parseOptionNumber(text, option);
  const std::size_t first = text.find_first_not_of(" \t");
  const bool negative = first != std::string::npos && text[first] == '-';
  const bool isSigned = option.attributes().element.isSigned;
  const unsigned bits = 8 * width;
  bool fits;
  if (negative)
    fits = isSigned &&
           (bits == 64 || static_cast<std::int64_t>(v) >= -(std::int64_t{1} << (bits - 1)));
  else if (isSigned)
    fits = v <= (std::uint64_t{1} << (bits - 1)) - 1;
  else
    fits = bits == 64 || v <= (std::uint64_t{1} << bits) - 1;
  if (!fits)
    CAbstractIO::_fail("CNumericIO::set", "Cannot set numeric value '%1' for option %2.",
                       "Value is out of range.", {text, option.label()});
  return v;
}
