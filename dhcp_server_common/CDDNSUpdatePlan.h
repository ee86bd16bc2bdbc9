#pragma once
// The DNS updates one message calls for, from what the data finder answers
// for the client: whether the forward and the reverse records are to be
// updated, under which absolute name, and the update records for a list
// of addresses. With generated names (mode 2) every address has a name of
// its own, made from the configured host name and the address.

#include <cstdint>
#include <string>
#include <vector>

#include "dhcp_base/COption.h"
#include "dhcp_server_common/CDDNSLeaseNames.h"
#include "dhcp_server_common/CIDHCPDDNS.h"

class CIDHCPContext;

class CDDNSUpdatePlan {
 public:
  CDDNSUpdatePlan(CIDHCPContext& context, const COptionPtr& policyOptions, std::uint8_t mode,
                  const COptionPtr& fqdn);

  bool forward() const { return m_forward; }
  bool reverse() const { return m_reverse; }
  // No update at all.
  void clear() { m_forward = m_reverse = false; }
  // The name the client supplied, without a trailing dot (may be empty).
  const std::string& clientName() const { return m_clientName; }
  // The absolute name the records of address are kept under; empty when
  // nothing is updated.
  std::string fqdn(const nuv::CIPAddress& address) const;
  // What the binding of address keeps of these updates (empty() when
  // nothing is updated).
  CDDNSLeaseNames names(const nuv::CIPAddress& address) const;
  // The forward (AAAA) or reverse (PTR) updates for the addresses.
  std::vector<CDDNSUpdate> updates(const std::vector<nuv::CIPAddress>& addresses,
                                   bool forward) const;

  // "dyn" and 2001:db8::1 make the label "dyn-2001-db8--1".
  static std::string generatedLabel(const std::string& hostName, const nuv::CIPAddress& address);

 private:
  std::uint8_t m_mode;
  bool m_forward = false;
  bool m_reverse = false;
  std::string m_clientName;
  std::string m_label;   // the host label, or the generated names' stem
  std::string m_domain;  // where the label lives
  CDDNSUpdate m_forwardData;
  CDDNSUpdate m_reverseData;
};
