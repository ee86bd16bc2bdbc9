#pragma once
// Dynamic DNS updates for leases: found through a plug-in providing
// "CIDHCPDDNSFactory". The service queues and performs the updates off the
// packet path; the server only hands over the data, after the transaction
// that made or ended the leases has committed.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "standard/CEndpoint.h"
#include "standard/CIPAddress.h"

class CIDHCPContext;

// One update of one client's names. Names are absolute and written without
// the trailing dot ("host1.example.net").
struct CDDNSUpdate {
  nuv::CEndpoint server;  // the DNS server to send the update to
  std::string fqdn;       // the client's name: owner of the AAAA records, target of the PTRs
  std::string zone;       // the zone the records are updated in (forward or reverse)
  std::uint32_t ttl = 0;  // of the records added
  bool authoritative = false;
  std::vector<nuv::CIPAddress> addresses;
};

class CIDHCPDDNS {
 public:
  virtual ~CIDHCPDDNS() = default;
  // The AAAA records of fqdn for the addresses, in the forward zone.
  virtual void updateARecord(const CDDNSUpdate& update) = 0;
  // One PTR record per address (its nibble name in the reverse zone),
  // pointing at fqdn.
  virtual void updatePTRRecord(const CDDNSUpdate& update) = 0;
  virtual void deleteARecord(const CDDNSUpdate& update) = 0;
  virtual void deletePTRRecord(const CDDNSUpdate& update) = 0;
};

class CIDHCPDDNSFactory {
 public:
  virtual ~CIDHCPDDNSFactory() = default;
  virtual std::shared_ptr<CIDHCPDDNS> createDDNS(CIDHCPContext& context) = 0;
  // A service for a thread of another plug-in, which has no server context
  // (the address manager's reclaimer deletes the records of expired
  // leases); used by that one thread.
  virtual std::shared_ptr<CIDHCPDDNS> createBackgroundDDNS() = 0;
};
