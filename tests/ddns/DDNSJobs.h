#pragma once
// Update jobs for the DNS update plug-in's tests.

#include <string>

#include "plugins/ddns/CDDNSJob.h"

inline CDDNSUpdate ddnsUpdate(const std::string& fqdn = "host1.example.net",
                              const std::string& zone = "example.net",
                              const char* address = "2001:db8:1::100") {
  CDDNSUpdate u;
  u.server = nuv::CEndpoint("[::1]:53");
  u.fqdn = fqdn;
  u.zone = zone;
  u.ttl = 300;
  u.addresses.emplace_back(address);
  return u;
}

inline CDDNSJob ddnsJob(CDDNSJob::Records records, CDDNSJob::Action action,
                        const CDDNSUpdate& update = ddnsUpdate()) {
  return CDDNSJob{records, action, update};
}

// A forward addition whose name tells jobs apart: "host<n>.example.net".
inline CDDNSJob numberedJob(int n) {
  return ddnsJob(CDDNSJob::Records::forward, CDDNSJob::Action::add,
                 ddnsUpdate("host" + std::to_string(n) + ".example.net"));
}
