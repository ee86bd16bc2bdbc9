#pragma once
// Stands in for a missing DDNS service: updates go nowhere.

#include "dhcp_server_common/CIDHCPDDNS.h"

class CDHCPDDNSStub : public CIDHCPDDNS {
 public:
  void updateARecord(const CDDNSUpdate&) override {}
  void updatePTRRecord(const CDDNSUpdate&) override {}
  void deleteARecord(const CDDNSUpdate&) override {}
  void deletePTRRecord(const CDDNSUpdate&) override {}
};
