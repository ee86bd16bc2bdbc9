#include "dhcp_base/CDNSNameIO.h"

#include <cstring>

#include "dhcp_base/CPktIOException.h"

namespace {
// What a label's text form holds as it is; every other byte is escaped.
// Host names (letters, digits, hyphens), service labels ("_sip"),
// wildcards and classless reverse zones ("0/25") need no escape.
bool labelCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '*' || c == '/';
}

bool digit(char c) {
  return c >= '0' && c <= '9';
}

// Longest name on the wire (RFC 1035 3.1) and longest label.
constexpr std::size_t kMaxWire = 255;
constexpr std::size_t kMaxLabel = 63;

// The byte an escape at text[i] (the backslash) stands for; i moves to the
// escape's last character.
std::uint8_t unescape(std::string_view text, std::size_t& i) {
  if (i + 3 < text.size() && digit(text[i + 1]) && digit(text[i + 2]) && digit(text[i + 3])) {
    const int value = (text[i + 1] - '0') * 100 + (text[i + 2] - '0') * 10 + (text[i + 3] - '0');
    i += 3;
    return static_cast<std::uint8_t>(value);
  }
  ++i;
  return static_cast<std::uint8_t>(text[i]);
}
}  // namespace

std::size_t CDNSNameIO::labelEnd(std::string_view text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == '\\')
      ++i;  // the escaped character; a "\DDD" holds no dot
    else if (text[i] == '.')
      return i;
  }
  return std::string_view::npos;
}

std::string_view CDNSNameIO::withoutRootDot(std::string_view text) {
  if (text.empty() || text.back() != '.') return text;
  // Escaped when an odd number of backslashes stands before it.
  std::size_t slashes = 0;
  while (slashes + 1 < text.size() && text[text.size() - 2 - slashes] == '\\') ++slashes;
  if (slashes % 2 == 1) return text;
  text.remove_suffix(1);
  return text;
}

std::size_t CDNSNameIO::_wire(std::string_view text, std::uint8_t* out) {
  if (text.empty()) {
    if (out) *out = 0;
    return 1;
  }
  std::size_t n = 1;  // the first label's length byte
  std::size_t lengthAt = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '.') {
      if (out) out[lengthAt] = static_cast<std::uint8_t>(n - lengthAt - 1);
      lengthAt = n++;
      continue;
    }
    const std::uint8_t byte = text[i] == '\\' && i + 1 < text.size()
                                  ? unescape(text, i)
                                  : static_cast<std::uint8_t>(text[i]);
    if (out) out[n] = byte;
    ++n;
  }
  if (out) {
    out[lengthAt] = static_cast<std::uint8_t>(n - lengthAt - 1);
    out[n] = 0;
  }
  return n + 1;
}

void CDNSNameIO::_appendLabel(const std::uint8_t* label, std::size_t n, std::string& text) {
  for (std::size_t i = 0; i < n; ++i) {
    const char c = static_cast<char>(label[i]);
    if (labelCharacter(c)) {
      text += c;
    } else if (c == '.' || c == '\\') {
      text += '\\';
      text += c;
    } else {
      const unsigned v = label[i];
      text += '\\';
      text += static_cast<char>('0' + v / 100);
      text += static_cast<char>('0' + v / 10 % 10);
      text += static_cast<char>('0' + v % 10);
    }
  }
}

std::size_t CDNSNameIO::size(const std::string& v, const COption&) {
  return _wire(withoutRootDot(v), nullptr);
}

void CDNSNameIO::writeOne(std::uint8_t* out, const std::string& v, const COption&) {
  _wire(withoutRootDot(v), out);
}
const std::uint8_t* CDNSNameIO::_readName(const std::uint8_t* pos, const std::uint8_t* end,
                                          std::string& name, const COption& option,
                                          COptionInputContext& ic) {
  name.clear();
  const std::uint8_t* const start = pos;
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
    if (pos != start) name += '.';
    _appendLabel(pos + 1, len, name);
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
  const std::string_view s = withoutRootDot(text);
  // Literal characters as the text form writes them, escapes complete,
  // labels of 1 to 63 bytes.
  bool ok = true;
  std::size_t label = 0;
  for (std::size_t i = 0; ok && i < s.size(); ++i) {
    if (s[i] == '.') {
      ok = label > 0;
      label = 0;
      continue;
    }
    if (s[i] == '\\') {
      if (i + 1 == s.size()) {
        ok = false;
        break;
      }
      if (digit(s[i + 1]))
        ok = i + 3 < s.size() && digit(s[i + 2]) && digit(s[i + 3]) &&
             (s[i + 1] - '0') * 100 + (s[i + 2] - '0') * 10 + (s[i + 3] - '0') <= 255;
      if (ok) unescape(s, i);
    } else {
      ok = labelCharacter(s[i]);
    }
    ok = ok && ++label <= kMaxLabel;
  }
  ok = ok && (s.empty() || label > 0);
  std::uint8_t wire[kMaxWire + 64];
  ok = ok && _wire(s, nullptr) <= kMaxWire;
  if (!ok)
    _fail("CDNSNameIO::set", "Cannot set domain name '%1' for option %2.", "Invalid domain name.",
          {text, option.label()});
  // Kept in the form the wire reads back as, whichever escapes were used.
  _wire(s, wire);
  std::string out;
  for (const std::uint8_t* p = wire; *p; p += 1 + *p) {
    if (p != wire) out += '.';
    _appendLabel(p + 1, *p, out);
  }
  return out;
}
