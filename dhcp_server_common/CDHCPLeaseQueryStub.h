#pragma once
// Stands in for a missing lease-query service: Leasequery gets no reply.

#include "dhcp_server_common/CIDHCPLeaseQuery.h"

class CDHCPLeaseQueryStub : public CIDHCPLeaseQuery {
 public:
  static constexpr int kIgnore = 2;

  void refreshConfig() override {}
  int processLQ(CNodeContext&, CDHCP6Packet&, CDHCP6Packet&) override { return kIgnore; }
};
