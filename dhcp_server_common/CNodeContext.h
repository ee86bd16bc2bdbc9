#pragma once
// What the server knows about the client of the message in progress: the
// client's own message and the relay layers it came through, where the
// datagram arrived and came from, both DUIDs, the provisioning outcome and
// the client's access token (which decides the policies, pools and leases
// it may use). The handler fills it; the processors read it.

#include <memory>
#include <string>
#include <vector>

#include "dhcp_base/CDHCP6Packet.h"
#include "dhcp_server_common/CProvisioned.h"
#include "oodb/CDeviceAccessToken.h"
#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"

class CDHCPContext;

class CNodeContext {
 public:
  explicit CNodeContext(CDHCPContext* context = nullptr) : m_context(context) {}

  CDHCPContext* context() const { return m_context; }
  void context(CDHCPContext* context) { m_context = context; }

  // The client's message (the innermost one of a relayed message).
  const COptionStorePtr& hostOptions() const { return m_hostOptions; }
  void hostOptions(COptionStorePtr options) { m_hostOptions = std::move(options); }
  // One option set per relay layer, outermost first.
  const CDHCP6Packet::Layers& relayOptions() const { return m_relayOptions; }
  void relayOptions(CDHCP6Packet::Layers layers) { m_relayOptions = std::move(layers); }

  // Where the datagram arrived: an address of the receiving interface
  // that clients are numbered from when it has one, else the datagram's
  // destination.
  const nuv::CIPAddress& localAddress() const { return m_localAddress; }
  void localAddress(const nuv::CIPAddress& address) { m_localAddress = address; }
  // Every such address of the receiving interface (an interface holds
  // several); empty when unknown.
  using Addresses = std::vector<nuv::CIPAddress>;
  const Addresses& localAddresses() const { return m_localAddresses ? *m_localAddresses : kNone; }
  void localAddresses(std::shared_ptr<const Addresses> addresses) {
    m_localAddresses = std::move(addresses);
  }
  const nuv::CIPAddress& peerAddress() const { return m_peerAddress; }
  void peerAddress(const nuv::CIPAddress& address) { m_peerAddress = address; }

  CProvisioned& provisioned() { return m_provisioned; }
  const CProvisioned& provisioned() const { return m_provisioned; }

  const nuv::CHexStore& serverDUID() const { return m_serverDUID; }
  void serverDUID(const nuv::CHexStore& duid) { m_serverDUID = duid; }
  const nuv::CHexStore& clientID() const { return m_clientID; }
  void clientID(const nuv::CHexStore& duid) { m_clientID = duid; }

  CDeviceAccessToken& token() { return m_token; }
  const CDeviceAccessToken& token() const { return m_token; }

  // Forgets the message; the context stays.
  void clear();
  // For diagnostics: the addresses, DUIDs and provisioning, then the host
  // options and each relay layer.
  std::string string() const;

 private:
  CDHCPContext* m_context;
  COptionStorePtr m_hostOptions;
  CDHCP6Packet::Layers m_relayOptions;
  static inline const Addresses kNone;
  nuv::CIPAddress m_localAddress;
  std::shared_ptr<const Addresses> m_localAddresses;
  nuv::CIPAddress m_peerAddress;
  CProvisioned m_provisioned;
  nuv::CHexStore m_serverDUID;
  nuv::CHexStore m_clientID;
  CDeviceAccessToken m_token;
};
