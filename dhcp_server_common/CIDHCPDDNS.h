#pragma once
// Dynamic DNS updates for leases: found through a plug-in providing
// "CIDHCPDDNSFactory". The service queues and performs the updates; the
// server only hands over the data.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "standard/CEndpoint.h"
#include "standard/CIPAddress.h"

class CIDHCPContext;

class CIDHCPDDNS {
 public:
  virtual ~CIDHCPDDNS() = default;
  virtual void updateARecord(const nuv::CEndpoint& server, const std::string& name,
                             std::uint32_t ttl, const std::vector<nuv::CIPAddress>& addresses) = 0;
  virtual void updatePTRRecord(const nuv::CEndpoint& server, const std::string& name,
                               std::uint32_t ttl,
                               const std::vector<nuv::CIPAddress>& addresses) = 0;
  virtual void deleteARecord(const nuv::CEndpoint& server, const std::string& name,
                             const std::vector<nuv::CIPAddress>& addresses) = 0;
  virtual void deletePTRRecord(const nuv::CEndpoint& server, const std::string& name,
                               const std::vector<nuv::CIPAddress>& addresses) = 0;
};

class CIDHCPDDNSFactory {
 public:
  virtual ~CIDHCPDDNSFactory() = default;
  virtual std::shared_ptr<CIDHCPDDNS> createDDNS(CIDHCPContext& context) = 0;
};
