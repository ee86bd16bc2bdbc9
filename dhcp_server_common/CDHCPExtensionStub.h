#pragma once
// Stands in for a missing extension: every datagram passes.

#include "dhcp_server_common/CIDHCPExtension.h"

class CDHCPExtensionStub : public CIDHCPExtension {
 public:
  void init() override {}
  void close() override {}
  int packet_received() override { return 0; }
};
