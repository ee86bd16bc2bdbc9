#pragma once
// A UDP socket that can join multicast groups on named interfaces.
//
// A plain value over a socket handle: copies share the socket, and a worker
// thread's copy may be pointed at whichever listening socket is readable
// (set_handle). recvFrom remembers the interface the last datagram arrived
// on, and send_blocked sends a reply to a link-scoped address out of that
// interface, since endpoints carry no scope.

#include <ace/SOCK_Dgram.h>

#include <string>
#include <vector>

#include "standard/CEndpoint.h"

namespace nuv {

class CSockDgramMcast : public ACE_SOCK_Dgram {
 public:
  CSockDgramMcast() = default;
  explicit CSockDgramMcast(ACE_HANDLE handle) { set_handle(handle); }

  // A UDP socket of the endpoint's family bound to it, with address reuse,
  // and reporting each datagram's destination and arrival interface.
  // -1 with errno on failure.
  int open(const CEndpoint& local);
  // Joins the group on the interface (an empty name lets the system choose).
  void join(const CEndpoint& group, const std::string& interfaceName);
  // Leaves every group this object joined.
  void leave();
  // Non-blocking mode on or off (FIONBIO); -1 with errno on failure.
  int nonBlocking(bool on);
  // Bytes of the next waiting datagram (FIONREAD); -1 with errno on failure.
  int available() const;

  // Receives one datagram, waiting at most *timeout (null: as the socket's
  // mode says). The sender goes to from; to, when given, receives the
  // address the datagram was sent to. Returns the length, or -1 with errno:
  // ETIME when the time ran out, EMSGSIZE when the datagram was longer than
  // len (the first len bytes and the sender are then filled in).
  ssize_t recvFrom(void* buf, std::size_t len, CEndpoint& from, int flags = 0,
                   const ACE_Time_Value* timeout = nullptr, CIPAddress* to = nullptr);
  // Sends the whole datagram, waiting for room if the socket is non-blocking.
  ssize_t send_blocked(const void* buf, std::size_t len, const CEndpoint& to, int flags = 0);

  // Asks for a receive buffer of bytes, beyond the system's limit where
  // the process may (CAP_NET_ADMIN); the size granted.
  int receiveBuffer(int bytes);
  // Index of the interface the last datagram arrived on; 0 when unknown.
  unsigned arrivalInterface() const { return m_arrivalIndex; }
  // Sets it back for a reply to an earlier datagram.
  void arrivalInterface(unsigned index) { m_arrivalIndex = index; }

 private:
  struct Membership {
    CEndpoint group;
    unsigned index;
  };
  // 0, or the errno of the refused request.
  int _membership(bool join, const CEndpoint& group, unsigned index);
  int _family();

  std::vector<Membership> m_memberships;
  unsigned m_arrivalIndex = 0;
  ACE_HANDLE m_familyOf = ACE_INVALID_HANDLE;  // the handle m_family was read from
  int m_family = AF_UNSPEC;
};

}  // namespace nuv
