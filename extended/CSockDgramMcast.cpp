#include "extended/CSockDgramMcast.h"

#include <ace/INET_Addr.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "extended/CInterfaceEnum.h"
#include "standard/CException.h"

namespace nuv {

namespace {

// Sockets are foundation classes; their failures name that module.
constexpr const char* kModule = "standard";

[[noreturn]] void raise(const char* context, CMessage what, CMessage why, int err = 0) {
  throw CException(std::move(what), std::move(why), kModule, context, __FILE__, __LINE__, sev_error,
                   err);
}

// Waits until the handle is ready for events; false (errno ETIME) when the
// time runs out first. A null timeout waits for ever.
bool ready(ACE_HANDLE handle, short events, const ACE_Time_Value* timeout) {
  pollfd p{handle, events, 0};
  const int ms = timeout ? static_cast<int>(timeout->msec()) : -1;
  const int rc = ::poll(&p, 1, ms);
  if (rc == 0) errno = ETIME;
  return rc > 0;
}

}  // namespace

int CSockDgramMcast::open(const CEndpoint& local) {
  sockaddr_storage sa{};
  const socklen_t len = local.toSockaddr(sa);
  ACE_INET_Addr addr;
  addr.set_addr(&sa, static_cast<int>(len));
  if (ACE_SOCK_Dgram::open(addr, sa.ss_family, 0, 1) == -1) return -1;
  int on = 1;
  if (sa.ss_family == AF_INET6)
    set_option(IPPROTO_IPV6, IPV6_RECVPKTINFO, &on, sizeof on);
  else
    set_option(IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
  m_memberships.clear();
  return 0;
}

int CSockDgramMcast::receiveBuffer(int bytes) {
  // The kernel doubles the value asked for its bookkeeping.
  if (setsockopt(get_handle(), SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) != 0)
    setsockopt(get_handle(), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
  int granted = 0;
  socklen_t len = sizeof granted;
  getsockopt(get_handle(), SOL_SOCKET, SO_RCVBUF, &granted, &len);
  return granted;
}

void CSockDgramMcast::join(const CEndpoint& group, const std::string& interfaceName) {
  const CIPAddress::addr_type type = group.address().type();
  if (type != CIPAddress::ipv6 && type != CIPAddress::ipv4)
    raise("CSockDgramMcast::join", CMessage("Cannot join multicast group."),
          CMessage("Unknown protocol family."));
  const unsigned index =
      interfaceName.empty() ? 0 : CInterfaceEnum::indexByName(interfaceName, unsigned{type});
  if (const int err = _membership(true, group, index))
    raise("CSockDgramMcast::join",
          CMessage("Failed to join multicast group %1 on interface %2.")
              .pushs(group.string())
              .pushs(interfaceName),
          CMessage(), err);
  m_memberships.push_back({group, index});
}

void CSockDgramMcast::leave() {
  while (!m_memberships.empty()) {
    const Membership m = m_memberships.back();
    m_memberships.pop_back();
    if (const int err = _membership(false, m.group, m.index))
      raise("CSockDgramMcast::leave",
            CMessage("Failed to leave multicast group '%1'.").pushs(m.group.string()), CMessage(),
            err);
  }
}

int CSockDgramMcast::_membership(bool join, const CEndpoint& group, unsigned index) {
  int rc;
  if (group.address().type() == CIPAddress::ipv6) {
    // The 20-byte request: group address, then interface index.
    ipv6_mreq req{};
    req.ipv6mr_multiaddr = group.address().toIn6Addr();
    req.ipv6mr_interface = index;
    rc = ACE_SOCK::set_option(IPPROTO_IPV6, join ? IPV6_JOIN_GROUP : IPV6_LEAVE_GROUP, &req,
                              sizeof req);
  } else {
    ip_mreqn req{};
    req.imr_multiaddr = group.address().toInAddr();
    req.imr_ifindex = static_cast<int>(index);
    rc = ACE_SOCK::set_option(IPPROTO_IP, join ? IP_ADD_MEMBERSHIP : IP_DROP_MEMBERSHIP, &req,
                              sizeof req);
  }
  return rc == -1 ? errno : 0;
}

int CSockDgramMcast::nonBlocking(bool on) {
  int value = on ? 1 : 0;
  return ::ioctl(get_handle(), FIONBIO, &value);
}

int CSockDgramMcast::available() const {
  int bytes = 0;
  return ::ioctl(get_handle(), FIONREAD, &bytes) == -1 ? -1 : bytes;
}

ssize_t CSockDgramMcast::recvFrom(void* buf, std::size_t len, CEndpoint& from, int flags,
                                  const ACE_Time_Value* timeout, CIPAddress* to) {
  sockaddr_storage sender{};
  iovec iov{buf, len};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in6_pktinfo)) + CMSG_SPACE(sizeof(in_pktinfo))];
  msghdr msg{};
  msg.msg_name = &sender;
  msg.msg_namelen = sizeof sender;
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  msg.msg_control = control;
  msg.msg_controllen = sizeof control;
  // With a time-out, a datagram already waiting (the reactor said so) is
  // taken without polling first.
  ssize_t n = ::recvmsg(get_handle(), &msg, timeout ? flags | MSG_DONTWAIT : flags);
  if (n < 0 && timeout && (errno == EAGAIN || errno == EWOULDBLOCK)) {
    if (!ready(get_handle(), POLLIN, timeout)) return -1;
    msg.msg_namelen = sizeof sender;
    msg.msg_controllen = sizeof control;
    n = ::recvmsg(get_handle(), &msg, flags);
  }
  if (n < 0) return n;
  m_arrivalIndex = 0;
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
    if (c->cmsg_level == IPPROTO_IPV6 && c->cmsg_type == IPV6_PKTINFO) {
      in6_pktinfo info;
      std::memcpy(&info, CMSG_DATA(c), sizeof info);
      m_arrivalIndex = info.ipi6_ifindex;
      if (to) *to = CIPAddress(info.ipi6_addr);
    } else if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      in_pktinfo info;
      std::memcpy(&info, CMSG_DATA(c), sizeof info);
      m_arrivalIndex = static_cast<unsigned>(info.ipi_ifindex);
      if (to) *to = CIPAddress(info.ipi_addr);
    }
  }
  if (sender.ss_family == AF_INET6 || sender.ss_family == AF_INET) from = CEndpoint(sender);
  if (msg.msg_flags & MSG_TRUNC) {
    errno = EMSGSIZE;
    return -1;
  }
  return n;
}

ssize_t CSockDgramMcast::send_blocked(const void* buf, std::size_t len, const CEndpoint& to,
                                      int flags) {
  sockaddr_storage sa{};
  socklen_t salen;
  if (_family() == AF_INET6) {
    sockaddr_in6 sa6 = to.toSockaddrIn6();
    const CIPAddress& a = to.address();
    if (a.isLinkLocal() || (a.isMulticast() && a.addrScope() <= CIPAddress::scope_link))
      sa6.sin6_scope_id = m_arrivalIndex;
    std::memcpy(&sa, &sa6, sizeof sa6);
    salen = sizeof sa6;
  } else {
    salen = to.toSockaddr(sa);
  }
  for (;;) {
    const ssize_t n =
        ::sendto(get_handle(), buf, len, flags, reinterpret_cast<sockaddr*>(&sa), salen);
    if (n >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) return n;
    if (errno != EINTR) ready(get_handle(), POLLOUT, nullptr);
  }
}

int CSockDgramMcast::_family() {
  if (m_familyOf != get_handle()) {
    sockaddr_storage sa{};
    socklen_t len = sizeof sa;
    m_family = ::getsockname(get_handle(), reinterpret_cast<sockaddr*>(&sa), &len) == 0
                   ? sa.ss_family
                   : AF_UNSPEC;
    m_familyOf = get_handle();
  }
  return m_family;
}

}  // namespace nuv
