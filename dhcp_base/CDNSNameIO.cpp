#include "dhcp_base/CDNSNameIO.h"

#include <algorithm>
#include <cstring>

#include "dhcp_base/CPktIOException.h"
#include "standard/StringUtil.h"

namespace {
// What a label written as text may hold: host names (letters, digits,
// hyphens), service labels ("_sip"), wildcards and classless reverse
// zones ("0/25"). Anything else (blanks, commas, quotes, control or
// non-ASCII bytes) would not read back from the text form the same.
bool labelCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '*' || c == '/';
}

// The name without a final root dot.
std::string_view bare(const std::string& v) {
  std::string_view s = v;
  if (!s.empty() && s.back() == '.') s.remove_suffix(1);
  return s;
}
}  // namespace

std::size_t CDNSNameIO::size(const std::string& v, const COption&) {
  std::string_view s = bare(v);
  return s.empty() ? 1 : s.size() + 2;
}

void CDNSNameIO::writeOne(std::uint8_t* out, const std::string& v, const COption&) {
  std::string_view s = bare(v);
  while (!s.empty()) {
    const std::size_t dot = s.find('.');
    const std::string_view label = s.substr(0, dot);
    *out++ = static_cast<std::uint8_t>(label.size());
    std::memcpy(out, label.data(), label.size());
    out += label.size();
    if (dot == std::string_view::npos) break;
    s.remove_prefix(dot + 1);
  }
  *out = 0;
}

const std::uint8_t* CDNSNameIO::_readName(const std::uint8_t* pos, const std::uint8_t* end,
                                          std::string& name, const COption& option,
                                          COptionInputContext& ic) {
  name.clear();
  while (pos < end) {
    const std::uint8_t len = *pos;
    if (len == 0) return pos + 1;
    if ((len & 0xc0) == 0xc0)
      NUV_THROW_PKT("CDNSNameIO::valueInput",
                    nuv::CMessage("Cannot decode value for option %1.").pushs(option.label()),
                    nuv::CMessage("Compressed DNS names are not supported."), ic.messageStart(),
                    pos);
    if ((len & 0xc0) != 0 || len >= end - pos)
      NUV_THROW_PKT("CDNSNameIO::valueInput",
                    nuv::CMessage("Cannot decode value for option %1.").pushs(option.label()),
                    nuv::CMessage("Option is malformed."), ic.messageStart(), pos);
    if (!name.empty()) name += '.';
    name.append(reinterpret_cast<const char*>(pos + 1), len);
    pos += 1 + len;
  }
  return pos;
}

std::string CDNSNameIO::readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                                COptionInputContext& ic) {
  std::string name;
  _readName(p, p + n, name, option, ic);
  return name;
}

void CDNSNameIO::readAll(const std::uint8_t* bytes, std::size_t n, Values& values, COption& option,
                         COptionInputContext& ic) {
  const std::uint8_t* end = bytes + n;
  std::string name;
  while (bytes < end) {
    bytes = _readName(bytes, end, name, option, ic);
    values.push_back(name);
  }
}

std::string CDNSNameIO::parse(const std::string& text, const COption& option) {
  std::string_view s = bare(text);
  bool ok = s.size() <= 253;
  for (const std::string& label : nuv::split(s, '.'))
    if (label.size() > 63 || (label.empty() && !s.empty()) ||
        !std::all_of(label.begin(), label.end(), labelCharacter))
      ok = false;
  if (!ok)
    _fail("CDNSNameIO::set", "Cannot set domain name '%1' for option %2.", "Invalid domain name.",
          {text, option.label()});
  return std::string(s);
}
