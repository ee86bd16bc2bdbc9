#pragma once
// Stands in for a missing DDNS service: updates go nowhere.

#include "dhcp_server_common/CIDHCPDDNS.h"

class CDHCPDDNSStub : public CIDHCPDDNS {
 public:
  void updateARecord(const nuv::CEndpoint&, const std::string&, std::uint32_t,
                     const std::vector<nuv::CIPAddress>&) override {}
  void updatePTRRecord(const nuv::CEndpoint&, const std::string&, std::uint32_t,
                       const std::vector<nuv::CIPAddress>&) override {}
  void deleteARecord(const nuv::CEndpoint&, const std::string&,
                     const std::vector<nuv::CIPAddress>&) override {}
  void deletePTRRecord(const nuv::CEndpoint&, const std::string&,
                       const std::vector<nuv::CIPAddress>&) override {}
};
