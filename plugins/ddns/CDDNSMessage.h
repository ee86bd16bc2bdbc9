#pragma once
// The RFC 2136 update message of one job, built and TSIG-signed with ldns.
//
// Forward, add: the name's AAAA records (A for an IPv4 address) are
// replaced by the job's addresses. Forward, remove: the job's addresses are
// removed from the name. Reverse, add: each address's PTR record (its
// nibble name, RFC 3596, under the reverse zone) is set to the name.
// Reverse, remove: the PTR record is removed if it still names the client.
// No prerequisites: the names are the server's to write.

#include <ldns/ldns.h>

#include <cstdint>
#include <memory>
#include <string>

#include "plugins/ddns/CDDNSJob.h"

class CDDNSMessage {
 public:
  // Records without a time to live get defaultTTL. Throws nuv::CException
  // when a name is not a domain name, a record's owner lies outside the
  // zone, or there are no addresses.
  CDDNSMessage(const CDDNSJob& job, std::uint32_t defaultTTL);

  // Appends a TSIG record (HMAC-SHA256) made with the key; throws when the
  // message cannot be signed (a secret that is not base64).
  void sign(const std::string& keyName, const std::string& secret);

  ldns_pkt* packet() const { return m_packet.get(); }

  // "hmac-sha256.", the one algorithm used.
  static const char* algorithm();
  // The key name as a TSIG record's owner: absolute.
  static std::string absoluteName(const std::string& name);
  // The owner of an address's PTR record, without the trailing dot:
  // "0.0.1.0.<...>.8.b.d.0.1.0.0.2.ip6.arpa" for 2001:db8:1::100.
  static std::string reverseName(const nuv::CIPAddress& address);

 private:
  std::unique_ptr<ldns_pkt, void (*)(ldns_pkt*)> m_packet;
};
