#pragma once
// What the server put into the DNS for one address lease, kept in the
// binding's option set under private codes (100018 to 100022; they never
// go on the wire) so that the records can be removed when the lease ends:
// by the Release, or by the reclaimer when the lease simply expires. A
// Request that updates the DNS stores them with the binding write it makes
// anyway; a Release takes them out with its own write.

#include <cstdint>
#include <string>
#include <vector>

#include "dhcp_base/COptionStore.h"
#include "dhcp_server_common/CIDHCPDDNS.h"
#include "standard/CEndpoint.h"
#include "standard/CIPAddress.h"

class CPrstDHCPRecord;

struct CDDNSLeaseNames {
  static constexpr std::uint32_t kNameCode = 100018;
  static constexpr std::uint32_t kForwardZoneCode = 100019;
  static constexpr std::uint32_t kReverseZoneCode = 100020;
  static constexpr std::uint32_t kServerCode = 100021;
  static constexpr std::uint32_t kAuthoritativeCode = 100022;

  std::string fqdn;         // owner of the AAAA record, target of the PTR
  std::string forwardZone;  // empty: the server added no AAAA record
  std::string reverseZone;  // empty: the server added no PTR record
  nuv::CEndpoint server;
  bool authoritative = false;

  // Nothing in the DNS is the server's.
  bool empty() const { return forwardZone.empty() && reverseZone.empty(); }
  bool operator==(const CDDNSLeaseNames& o) const;
  bool operator!=(const CDDNSLeaseNames& o) const { return !(*this == o); }

  // The names a binding keeps (empty() when none); parses its option set
  // only when it has one.
  static CDDNSLeaseNames of(const CPrstDHCPRecord& binding);
  static CDDNSLeaseNames read(const COptionStore& options);
  // Stores these names with the binding, replacing what it kept (empty()
  // removes them); the binding is changed only when they differ. True
  // when they differed.
  bool keepIn(CPrstDHCPRecord& binding) const;
  void write(COptionStore& options) const;

  // The deletes of address's records, appended to forward and reverse; an
  // address whose records share name, zone and server with the last
  // update joins it, so that one client's leases go in one update.
  void appendDeletes(const nuv::CIPAddress& address, std::vector<CDDNSUpdate>& forward,
                     std::vector<CDDNSUpdate>& reverse) const;
};
