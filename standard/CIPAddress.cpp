#include "standard/CIPAddress.h"

#include <arpa/inet.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "standard/CException.h"

namespace nuv {

namespace {

constexpr std::uint8_t kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};

// The other operand as a number of `width` bytes: zero-extended on the left
// or cut to its low bytes.
void alignTo(const CIPAddress& other, std::size_t width, std::uint8_t out[16]) {
  std::memset(out, 0, 16);
  const std::size_t len = other.raw_len();
  if (len >= width)
    std::memcpy(out, other.raw() + (len - width), width);
  else
    std::memcpy(out + (width - len), other.raw(), len);
}

}  // namespace

CIPAddress::CIPAddress(addr_type type) {
  if (type != ipv4 && type != ipv6) type = none;
  m_type = type;
}

CIPAddress::CIPAddress(std::string_view text) {
  const auto parsed = fromText(text);
  if (!parsed)
    NUV_THROW("CIPAddress::CIPAddress",
              CMessage("Cannot convert text '%1' to an ip address.").pushs(text),
              CMessage("Invalid ip address."));
  *this = *parsed;
}

CIPAddress::CIPAddress(const std::uint8_t* raw, std::size_t len) {
  setRaw(raw, len);
}

CIPAddress::CIPAddress(const in_addr& addr) : m_type(ipv4) {
  std::memcpy(_begin(), &addr, 4);
}

CIPAddress::CIPAddress(const in6_addr& addr) : m_type(ipv6) {
  std::memcpy(_begin(), &addr, 16);
}

std::optional<CIPAddress> CIPAddress::fromText(std::string_view text) noexcept {
  // inet_pton wants a terminated string; no address text is this long.
  char buf[INET6_ADDRSTRLEN + 1];
  if (text.empty() || text.size() >= sizeof buf) return std::nullopt;
  std::memcpy(buf, text.data(), text.size());
  buf[text.size()] = '\0';
  CIPAddress out;
  if (text.find(':') != std::string_view::npos) {
    if (inet_pton(AF_INET6, buf, out._begin()) != 1) return std::nullopt;
    out.m_type = ipv6;
  } else {
    if (inet_pton(AF_INET, buf, out._begin()) != 1) return std::nullopt;
    out.m_type = ipv4;
  }
  return out;
}

void CIPAddress::setRaw(const std::uint8_t* raw, std::size_t len) {
  if (raw == nullptr || (len != 4 && len != 16))
    NUV_THROW("CIPAddress::setRaw", CMessage("Cannot create ip address from %1 bytes.").push(len),
              CMessage("An address has 4 or 16 bytes."));
  m_bytes.fill(0);
  std::memcpy(_begin(), raw, len);
  m_type = len == 4 ? ipv4 : ipv6;
}

in_addr CIPAddress::toInAddr() const {
  const CIPAddress v4 = mapTo(ipv4);
  in_addr out;
  std::memcpy(&out, v4.raw(), 4);
  return out;
}

in6_addr CIPAddress::toIn6Addr() const {
  const CIPAddress v6 = mapTo(ipv6);
  in6_addr out;
  std::memcpy(&out, v6.raw(), 16);
  return out;
}

std::string CIPAddress::_v6string() const {
  char buf[INET6_ADDRSTRLEN];
  if (inet_ntop(AF_INET6, raw(), buf, sizeof buf) == nullptr)
    NUV_THROW_ERRNO("CIPAddress::_v6string", CMessage("Failed to convert ipv6 address to text."),
                    errno);
  return buf;
}

std::string CIPAddress::string() const {
  if (m_type == ipv6) return _v6string();
  if (m_type != ipv4) return {};
  char buf[INET_ADDRSTRLEN];
  std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", m_bytes[0], m_bytes[1], m_bytes[2], m_bytes[3]);
  return buf;
}

std::string CIPAddress::fat_string() const {
  if (m_type != ipv6) return string();
  // Every stored address goes through here: no printf per byte.
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out(39, ':');
  char* p = out.data();
  for (std::size_t i = 0; i < 16; ++i) {
    *p++ = kHex[m_bytes[i] >> 4];
    *p++ = kHex[m_bytes[i] & 0xf];
    if (i % 2) ++p;  // over the ':'
  }
  return out;
}

bool CIPAddress::operator==(const CIPAddress& other) const {
  return m_type == other.m_type && std::memcmp(raw(), other.raw(), raw_len()) == 0;
}

bool CIPAddress::operator>(const CIPAddress& other) const {
  if (m_type == none || other.m_type == none)
    NUV_THROW("CIPAddress::operator>", CMessage("Illegal operation."),
              CMessage("Cannot compare ip addresses of unknown type."));
  if (m_type != other.m_type) return m_type == ipv6;
  return std::memcmp(raw(), other.raw(), raw_len()) > 0;
}

void CIPAddress::_requireValid(const char* context) const {
  if (m_type == none)
    NUV_THROW(context, CMessage("Illegal operation."),
              CMessage("Cannot calculate with an ip address of unknown type."));
}

void CIPAddress::_addBytes(const std::uint8_t* other, std::size_t len, bool subtract) {
  // other is big-endian, len bytes, aligned to our low end.
  const std::size_t width = raw_len();
  unsigned carry = 0;
  for (std::size_t k = 0; k < width; ++k) {
    const std::size_t i = width - 1 - k;
    const unsigned rhs = (k < len ? other[len - 1 - k] : 0u) + carry;
    if (subtract) {
      carry = m_bytes[i] < rhs ? 1 : 0;
      m_bytes[i] = static_cast<std::uint8_t>(m_bytes[i] + (carry << 8) - rhs);
    } else {
      const unsigned sum = m_bytes[i] + rhs;
      m_bytes[i] = static_cast<std::uint8_t>(sum);
      carry = sum >> 8;
    }
  }
}

CIPAddress& CIPAddress::operator+=(const CIPAddress& other) {
  _requireValid("CIPAddress::operator+=");
  _addBytes(other.raw(), other.raw_len(), false);
  return *this;
}

CIPAddress& CIPAddress::operator-=(const CIPAddress& other) {
  _requireValid("CIPAddress::operator-=");
  _addBytes(other.raw(), other.raw_len(), true);
  return *this;
}

namespace {
void toBigEndian(std::uint64_t n, std::uint8_t out[8]) {
  for (int i = 7; i >= 0; --i, n >>= 8) out[i] = static_cast<std::uint8_t>(n);
}
}  // namespace

CIPAddress& CIPAddress::operator+=(std::uint64_t n) {
  _requireValid("CIPAddress::operator+=");
  std::uint8_t be[8];
  toBigEndian(n, be);
  _addBytes(be, 8, false);
  return *this;
}

CIPAddress& CIPAddress::operator-=(std::uint64_t n) {
  _requireValid("CIPAddress::operator-=");
  std::uint8_t be[8];
  toBigEndian(n, be);
  _addBytes(be, 8, true);
  return *this;
}

CIPAddress CIPAddress::operator++(int) {
  CIPAddress old(*this);
  ++*this;
  return old;
}

CIPAddress CIPAddress::operator--(int) {
  CIPAddress old(*this);
  --*this;
  return old;
}

CIPAddress& CIPAddress::shiftLeft(unsigned n) {
  _requireValid("CIPAddress::shiftLeft");
  const std::size_t width = raw_len();
  const std::size_t bytes = n / 8, bits = n % 8;
  for (std::size_t i = 0; i < width; ++i) {
    const std::size_t src = i + bytes;
    const unsigned hi = src < width ? m_bytes[src] : 0u;
    const unsigned lo = src + 1 < width ? m_bytes[src + 1] : 0u;
    m_bytes[i] = static_cast<std::uint8_t>(bits ? (hi << bits) | (lo >> (8 - bits)) : hi);
  }
  return *this;
}

CIPAddress& CIPAddress::shiftRight(unsigned n) {
  _requireValid("CIPAddress::shiftRight");
  const std::size_t width = raw_len();
  const std::size_t bytes = n / 8, bits = n % 8;
  for (std::size_t k = 0; k < width; ++k) {
    const std::size_t i = width - 1 - k;  // write from the low end upwards
    const unsigned lo = i >= bytes ? m_bytes[i - bytes] : 0u;
    const unsigned hi = i >= bytes + 1 ? m_bytes[i - bytes - 1] : 0u;
    m_bytes[i] = static_cast<std::uint8_t>(bits ? (lo >> bits) | (hi << (8 - bits)) : lo);
  }
  return *this;
}

void CIPAddress::_bitwise(const CIPAddress& other, char op) {
  _requireValid("CIPAddress::_bitwise");
  const std::size_t width = raw_len();
  std::uint8_t rhs[16];
  alignTo(other, width, rhs);
  for (std::size_t i = 0; i < width; ++i) {
    switch (op) {
      case '&':
        m_bytes[i] &= rhs[i];
        break;
      case '|':
        m_bytes[i] |= rhs[i];
        break;
      default:
        m_bytes[i] ^= rhs[i];
        break;
    }
  }
}

CIPAddress& CIPAddress::operator&=(const CIPAddress& other) {
  _bitwise(other, '&');
  return *this;
}

CIPAddress& CIPAddress::operator|=(const CIPAddress& other) {
  _bitwise(other, '|');
  return *this;
}

CIPAddress& CIPAddress::operator^=(const CIPAddress& other) {
  _bitwise(other, '^');
  return *this;
}

CIPAddress CIPAddress::operator~() const {
  _requireValid("CIPAddress::operator~");
  CIPAddress out(*this);
  for (std::size_t i = 0; i < raw_len(); ++i)
    out.m_bytes[i] = static_cast<std::uint8_t>(~m_bytes[i]);
  return out;
}

CIPAddress CIPAddress::createPrefix(unsigned len) const {
  const std::size_t width = bitWidth();
  if (len > width)
    NUV_THROW("CIPAddress::createPrefix", CMessage("Cannot create prefix from ip address."),
              CMessage("Address contains less than %1 bits.").push(len));
  CIPAddress out(*this);
  if (!isValid()) return out;
  const auto drop = static_cast<unsigned>(width - len);
  out.shiftRight(drop).shiftLeft(drop);
  return out;
}

unsigned CIPAddress::prefixLenFromMask(const CIPAddress& mask) {
  if (!mask.isValid())
    NUV_THROW("CIPAddress::prefixLenFromMask", CMessage("Cannot derive prefix length from mask."),
              CMessage("Mask has no address type."));
  unsigned ones = 0;
  std::size_t i = 0;
  const std::size_t width = mask.raw_len();
  for (; i < width && mask.m_bytes[i] == 0xff; ++i) ones += 8;
  if (i < width) {
    const std::uint8_t b = mask.m_bytes[i];
    // One partial byte of leading ones, then nothing but zeros.
    const std::uint8_t inverted = static_cast<std::uint8_t>(~b);
    bool contiguous = (inverted & static_cast<std::uint8_t>(inverted + 1)) == 0;
    for (std::size_t j = i + 1; contiguous && j < width; ++j) contiguous = mask.m_bytes[j] == 0;
    if (!contiguous)
      NUV_THROW("CIPAddress::prefixLenFromMask",
                CMessage("Cannot derive prefix length from mask '%1'.").pushs(mask.string()),
                CMessage("Mask bits are not contiguous."));
    for (std::uint8_t v = b; v & 0x80; v = static_cast<std::uint8_t>(v << 1)) ++ones;
  }
  return ones;
}

bool CIPAddress::isMappedIPv4() const {
  return m_type == ipv6 && std::memcmp(raw(), kMappedPrefix, sizeof kMappedPrefix) == 0;
}

bool CIPAddress::isMulticast() const {
  if (m_type == ipv6) return m_bytes[0] == 0xff;
  return m_type == ipv4 && (m_bytes[0] & 0xf0) == 0xe0;
}

bool CIPAddress::isLinkLocal() const {
  if (m_type == ipv6) return m_bytes[0] == 0xfe && (m_bytes[1] & 0xc0) == 0x80;
  return m_type == ipv4 && m_bytes[0] == 169 && m_bytes[1] == 254;
}

bool CIPAddress::isSiteLocal() const {
  if (m_type == ipv6) return m_bytes[0] == 0xfe && (m_bytes[1] & 0xc0) == 0xc0;
  if (m_type != ipv4) return false;
  return m_bytes[0] == 10 || (m_bytes[0] == 172 && (m_bytes[1] & 0xf0) == 16) ||
         (m_bytes[0] == 192 && m_bytes[1] == 168);
}

bool CIPAddress::isLoopBack() const {
  if (m_type == ipv4) return m_bytes[0] == 127;
  if (m_type != ipv6) return false;
  static const std::uint8_t kLoop[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  return std::memcmp(raw(), kLoop, 16) == 0;
}

CIPAddress CIPAddress::mapTo(addr_type type) const {
  if (type == m_type && type != none) return *this;
  if (m_type == ipv4 && type == ipv6) {
    std::uint8_t bytes[16];
    std::memcpy(bytes, kMappedPrefix, 12);
    std::memcpy(bytes + 12, raw(), 4);
    return CIPAddress(bytes, 16);
  }
  if (m_type == ipv6 && type == ipv4 && isMappedIPv4()) return CIPAddress(raw() + 12, 4);
  if (m_type == ipv6 && type == ipv4)
    NUV_THROW("CIPAddress::mapTo", CMessage("Cannot map ip address '%1' to ipv4.").pushs(string()),
              CMessage("Address is not an ipv4-mapped ipv6 address."));
  NUV_THROW("CIPAddress::mapTo",
            CMessage("Cannot map ip address '%1' to address type %2.")
                .pushs(string())
                .push(static_cast<unsigned>(type)),
            CMessage("Both types must be 4 or 6."));
}

CIPAddress::addr_class CIPAddress::addrClass() const {
  if (isMappedIPv4()) return mapTo(ipv4).addrClass();
  if (m_type == ipv6) return m_bytes[0] == 0xff ? class_d : class_v6;
  if (m_type != ipv4) return class_none;
  const std::uint8_t b = m_bytes[0];
  if ((b & 0x80) == 0) return class_a;
  if ((b & 0xc0) == 0x80) return class_b;
  if ((b & 0xe0) == 0xc0) return class_c;
  if ((b & 0xf0) == 0xe0) return class_d;
  return class_e;
}

CIPAddress::addr_scope CIPAddress::addrScope() const {
  if (isMappedIPv4()) return mapTo(ipv4).addrScope();
  if (m_type == ipv6) {
    if (m_bytes[0] == 0xff) return static_cast<addr_scope>(m_bytes[1] & 0x0f);
    if (isLoopBack()) return scope_interface;
    if (isLinkLocal()) return scope_link;
    if (isSiteLocal()) return scope_site;
    if (*this == CIPAddress(ipv6)) return scope_none;
    return scope_global;
  }
  if (m_type != ipv4) return scope_none;
  const std::uint8_t* b = raw();
  if (*this == CIPAddress(ipv4)) return scope_none;
  if (isLoopBack()) return scope_interface;
  if (isLinkLocal() || (b[0] == 224 && b[1] == 0 && b[2] == 0)) return scope_link;
  if (isSiteLocal() || (b[0] == 239 && b[1] == 255)) return scope_site;
  if (b[0] == 239) return scope_organization;
  return scope_global;
}

void CIPAddress::set_inaddr_any() {
  set_inaddr_any(m_type == ipv4 ? ipv4 : ipv6);
}

void CIPAddress::set_inaddr_any(addr_type type) {
  *this = CIPAddress(type == ipv4 ? ipv4 : ipv6);
}

void CIPAddress::setLoopback() {
  setLoopback(m_type == ipv4 ? ipv4 : ipv6);
}

void CIPAddress::setLoopback(addr_type type) {
  set_inaddr_any(type);
  if (m_type == ipv4) {
    m_bytes[0] = 127;
    m_bytes[3] = 1;
  } else {
    m_bytes[15] = 1;
  }
}

}  // namespace nuv

std::size_t std::hash<nuv::CIPAddress>::operator()(const nuv::CIPAddress& a) const noexcept {
  // FNV-1a over type and bytes.
  std::size_t h = 1469598103934665603ull;
  auto mix = [&h](std::uint8_t b) {
    h ^= b;
    h *= 1099511628211ull;
  };
  mix(a.type());
  for (std::size_t i = 0; i < a.raw_len(); ++i) mix(a.raw()[i]);
  return h;
}
