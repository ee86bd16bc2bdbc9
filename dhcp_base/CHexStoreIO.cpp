#include "dhcp_base/CHexStoreIO.h"

#include <cctype>
#include <cstring>

void CHexStoreIO::writeOne(std::uint8_t* out, const nuv::CHexStore& v, const COption&) {
  if (v.size()) std::memcpy(out, v.data(), v.size());
}

nuv::CHexStore CHexStoreIO::parse(const std::string& text, const COption& option) {
  std::string_view t = text;
  if (t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t.remove_prefix(2);
  // One separator throughout, or none; checked here so that a stray
  // character is refused instead of being skipped as a separator.
  const char sep = t.size() > 2 && (t[2] == '-' || t[2] == ':') ? t[2] : '\0';
  std::size_t digits = 0;
  bool ok = true;
  for (std::size_t i = 0; i < t.size() && ok; ++i) {
    if (sep && (i % 3) == 2)
      ok = t[i] == sep;
    else
      ok = std::isxdigit(static_cast<unsigned char>(t[i])) != 0, ++digits;
  }
  if (!ok || digits % 2 || (sep && !t.empty() && t.size() % 3 != 2))
    _fail("CHexStoreIO::set", "Cannot set byte sequence '%1' for option %2.",
          "Invalid byte sequence.", {text, option.label()});
  return nuv::CHexStore::parse(t, sep ? std::string_view(&sep, 1) : std::string_view());
}
