#pragma once
// Creates the server's listening socket and joins it to multicast groups.
//
// createAndJoin binds one UDP socket to the unicast endpoint (address reuse
// on) and joins every item of the listen list: "endpoint/interface" items
// separated by commas, e.g. "[ff02::1:2]:0/eth1"; a group port of 0 means
// the unicast endpoint's port, and an item without "/interface" lets the
// system choose the interface. An empty list is built from the default
// groups (the same form, without interfaces) and every multicast-capable,
// non-loopback interface with an address of the unicast endpoint's family.
// Failures raise nuv::CException; the sockets created so far stay with the
// binder until closeAll().

#include <string>
#include <vector>

#include "extended/CSockDgramMcast.h"

class CMasterController;

namespace nuv {

class CMulticastBinder {
 public:
  // Bytes of datagrams a server socket holds while every worker is busy:
  // the kernel's default (about 200 KB) drops a burst of a few hundred.
  static constexpr int kReceiveBuffer = 4 << 20;

  CMulticastBinder(CMasterController* controller, std::string name);
  CMulticastBinder(const CMulticastBinder&) = delete;
  CMulticastBinder& operator=(const CMulticastBinder&) = delete;
  ~CMulticastBinder();

  void createAndJoin(const CEndpoint& unicastEndpoint, const std::string& listenList,
                     const std::string& defaultGroups);
  void closeAll();
  // Clears (true) or sets (false) non-blocking mode on every socket.
  void blockingMode(bool blocking);

  const std::vector<CSockDgramMcast>& sockets() const { return m_sockets; }
  const std::string& name() const { return m_name; }

 private:
  std::string _createLocalInterfaceList(const CEndpoint& unicastEndpoint,
                                        const std::string& defaultGroups) const;
  CSockDgramMcast& _createAndBind(const CEndpoint& unicastEndpoint);

  CMasterController* m_controller;  // the host's; not owned
  std::string m_name;
  std::vector<CSockDgramMcast> m_sockets;
};

}  // namespace nuv
