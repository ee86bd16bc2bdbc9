#pragma once
// An address and a UDP port: where a datagram came from or goes to.
//
// Text forms: "[2001:db8::1]:547" for IPv6, "192.0.2.1:67" for IPv4. The
// text constructor also accepts a bare address (port 0), a bracketed
// address without a port, and "hostname:port" or a bare host name, which
// are resolved with getaddrinfo (the first address returned is taken).
//
// Ordering is total, so endpoints can key a map: by address type (IPv4
// before IPv6, unset last), then by address bytes, then by port.

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "standard/CIPAddress.h"

namespace nuv {

class CEndpoint {
 public:
  CEndpoint() = default;
  CEndpoint(const CIPAddress& address, std::uint16_t port) : m_address(address), m_port(port) {}
  explicit CEndpoint(const CIPAddress& address) : m_address(address) {}
  explicit CEndpoint(std::string_view text);
  explicit CEndpoint(const char* text) : CEndpoint(std::string_view(text ? text : "")) {}
  explicit CEndpoint(const std::string& text) : CEndpoint(std::string_view(text)) {}
  // The endpoint for a numeric text form, or nothing; never resolves names
  // and never throws. With requirePort, forms without a port are refused.
  static std::optional<CEndpoint> fromText(std::string_view text,
                                           bool requirePort = false) noexcept;
  explicit CEndpoint(const sockaddr_in& sa);
  explicit CEndpoint(const sockaddr_in6& sa);
  // AF_INET or AF_INET6; any other family throws.
  explicit CEndpoint(const sockaddr_storage& sa);

  const CIPAddress& address() const { return m_address; }
  std::uint16_t port() const { return m_port; }
  void setAddress(const CIPAddress& address) { m_address = address; }
  void setPort(std::uint16_t port) { m_port = port; }
  bool isValid() const { return m_address.isValid(); }

  std::string string() const;

  // IPv6 socket address; an IPv4 address is given in its mapped form.
  sockaddr_in6 toSockaddrIn6() const;
  // IPv4 socket address; an IPv6 address must be IPv4-mapped.
  sockaddr_in toSockaddrIn() const;
  // The socket address of the endpoint's own family; returns its length.
  socklen_t toSockaddr(sockaddr_storage& out) const;

  bool operator==(const CEndpoint& other) const {
    return m_port == other.m_port && m_address == other.m_address;
  }
  bool operator!=(const CEndpoint& other) const { return !(*this == other); }
  bool operator<(const CEndpoint& other) const;

 private:
  static CIPAddress _resolve(const std::string& host);

  CIPAddress m_address;
  std::uint16_t m_port = 0;
};

}  // namespace nuv
