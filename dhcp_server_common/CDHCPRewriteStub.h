#pragma once
// Stands in for a missing rewrite service: bytes stay unchanged.

#include "dhcp_server_common/CIDHCPRewrite.h"

class CDHCPRewriteStub : public CIDHCPRewrite {
 public:
  void rewrite(std::uint8_t*, std::size_t&) override {}
};
