#include "standard/CEndpoint.h"

#include <netdb.h>

#include <charconv>
#include <cstring>
#include <memory>

#include "standard/CException.h"

namespace nuv {

namespace {

// Letters, digits, '-' and '_' in non-empty labels of at most 63 characters
// that neither start nor end with '-'; a top label of digits only would be a malformed IPv4 address
// instead.
bool isHostName(std::string_view name) {
  if (name.empty() || name.size() > 253) return false;
  if (name.back() == '.') name.remove_suffix(1);
  std::size_t labelStart = 0;
  bool labelAllDigits = true;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || name[i] == '.') {
      const std::size_t len = i - labelStart;
      if (len == 0 || len > 63 || name[labelStart] == '-' || name[i - 1] == '-') return false;
      if (i == name.size() && labelAllDigits) return false;
      labelStart = i + 1;
      labelAllDigits = true;
      continue;
    }
    const char c = name[i];
    const bool digit = c >= '0' && c <= '9';
    const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!digit && !alpha && c != '-' && c != '_') return false;
    labelAllDigits = labelAllDigits && digit;
  }
  return true;
}

bool parsePort(std::string_view text, std::uint16_t& port) {
  if (text.empty() || text.size() > 5) return false;
  unsigned v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || v > 65535) return false;
  port = static_cast<std::uint16_t>(v);
  return true;
}

// The host and port texts of "[host]:port", "[host]", "host:port" or "host".
struct TextParts {
  std::string_view host;
  std::string_view port;
  bool hasPort = false;
  bool bracketed = false;
  bool ok = true;
};

TextParts splitText(std::string_view text) {
  TextParts parts;
  parts.host = text;
  if (!text.empty() && text.front() == '[') {
    parts.bracketed = true;
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) {
      parts.ok = false;
      return parts;
    }
    parts.host = text.substr(1, close - 1);
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      parts.ok = rest.front() == ':';
      parts.port = rest.substr(1);
      parts.hasPort = true;
    }
    return parts;
  }
  // Two or more colons can only be a bare IPv6 address.
  const std::size_t colon = text.find(':');
  if (colon != std::string_view::npos && text.find(':', colon + 1) == std::string_view::npos) {
    parts.host = text.substr(0, colon);
    parts.port = text.substr(colon + 1);
    parts.hasPort = true;
  }
  return parts;
}

[[noreturn]] void noSocketAddress(const char* context, const CEndpoint& ep) {
  NUV_THROW(context,
            CMessage("Cannot convert endpoint '%1' to a socket address.").pushs(ep.string()),
            CMessage("Endpoint has no address of the required family."));
}

}  // namespace

CEndpoint::CEndpoint(std::string_view text) {
  if (const auto numeric = fromText(text)) {
    *this = *numeric;
    return;
  }
  const TextParts parts = splitText(text);
  if (!parts.ok || parts.bracketed || (parts.hasPort && !parsePort(parts.port, m_port)) ||
      !isHostName(parts.host))
    NUV_THROW("CEndpoint::CEndpoint", CMessage("Cannot create endpoint."),
              CMessage("Text '%1' is not a valid ip address or host name.").pushs(text));
  m_address = _resolve(std::string(parts.host));
}

std::optional<CEndpoint> CEndpoint::fromText(std::string_view text, bool requirePort) noexcept {
  const TextParts parts = splitText(text);
  if (!parts.ok || (requirePort && !parts.hasPort)) return std::nullopt;
  const auto address = CIPAddress::fromText(parts.host);
  if (!address || (parts.bracketed && address->type() != CIPAddress::ipv6)) return std::nullopt;
  std::uint16_t port = 0;
  if (parts.hasPort && !parsePort(parts.port, port)) return std::nullopt;
  return CEndpoint(*address, port);
}

CIPAddress CEndpoint::_resolve(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found);
  const std::unique_ptr<addrinfo, void (*)(addrinfo*)> guard(found, freeaddrinfo);
  if (rc == 0) {
    for (const addrinfo* ai = found; ai; ai = ai->ai_next) {
      if (ai->ai_family == AF_INET6 && ai->ai_addrlen >= sizeof(sockaddr_in6))
        return CIPAddress(reinterpret_cast<const sockaddr_in6*>(ai->ai_addr)->sin6_addr);
      if (ai->ai_family == AF_INET && ai->ai_addrlen >= sizeof(sockaddr_in))
        return CIPAddress(reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr);
    }
  }
  NUV_THROW("CEndpoint::_resolve", CMessage("Failed to resolve host name '%1'.").pushs(host),
            CMessage("Name does not resolve."));
}

CEndpoint::CEndpoint(const sockaddr_in& sa) : m_address(sa.sin_addr), m_port(ntohs(sa.sin_port)) {}

CEndpoint::CEndpoint(const sockaddr_in6& sa)
    : m_address(sa.sin6_addr), m_port(ntohs(sa.sin6_port)) {}

CEndpoint::CEndpoint(const sockaddr_storage& sa) {
  if (sa.ss_family == AF_INET6)
    *this = CEndpoint(reinterpret_cast<const sockaddr_in6&>(sa));
  else if (sa.ss_family == AF_INET)
    *this = CEndpoint(reinterpret_cast<const sockaddr_in&>(sa));
  else
    NUV_THROW("CEndpoint::CEndpoint",
              CMessage("Cannot create endpoint from address family %1.").push(sa.ss_family),
              CMessage("Only IPv4 and IPv6 are supported."));
}

std::string CEndpoint::string() const {
  const std::string port = std::to_string(m_port);
  if (m_address.type() == CIPAddress::ipv6) return "[" + m_address.string() + "]:" + port;
  return m_address.string() + ":" + port;
}

sockaddr_in6 CEndpoint::toSockaddrIn6() const {
  if (!m_address.isValid()) noSocketAddress("CEndpoint::toSockaddrIn6", *this);
  sockaddr_in6 out{};
  out.sin6_family = AF_INET6;
  out.sin6_port = htons(m_port);
  out.sin6_addr = m_address.toIn6Addr();
  return out;
}

sockaddr_in CEndpoint::toSockaddrIn() const {
  if (m_address.type() != CIPAddress::ipv4 && !m_address.isMappedIPv4())
    noSocketAddress("CEndpoint::toSockaddrIn", *this);
  sockaddr_in out{};
  out.sin_family = AF_INET;
  out.sin_port = htons(m_port);
  out.sin_addr = m_address.toInAddr();
  return out;
}

socklen_t CEndpoint::toSockaddr(sockaddr_storage& out) const {
  std::memset(&out, 0, sizeof out);
  if (m_address.type() == CIPAddress::ipv4) {
    const sockaddr_in sa = toSockaddrIn();
    std::memcpy(&out, &sa, sizeof sa);
    return sizeof sa;
  }
  const sockaddr_in6 sa = toSockaddrIn6();
  std::memcpy(&out, &sa, sizeof sa);
  return sizeof sa;
}

bool CEndpoint::operator<(const CEndpoint& other) const {
  if (m_address.type() != other.m_address.type()) return m_address.type() < other.m_address.type();
  const int c = std::memcmp(m_address.raw(), other.m_address.raw(), m_address.raw_len());
  if (c != 0) return c < 0;
  return m_port < other.m_port;
}

}  // namespace nuv
