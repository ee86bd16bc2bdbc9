#include "dhcp_server_common/CDHCPAddrMgrStub.h"

#include "standard/CException.h"

namespace {
constexpr const char* kNoManager = "This stub does not provide address pool management.";
}

void CDHCPAddrMgrStub::getPoolCandidate(int, const std::vector<long>&, nuv::CIPAddress&, long&,
                                        CIDHCPStats&) {
  NUV_THROW("CDHCPAddrMgrStub::getAPoolCandidate", nuv::CMessage("No free addresses available."),
            nuv::CMessage(kNoManager));
}

CIDHCPFailoverAdmin& CDHCPAddrMgrStub::failoverAdmin() {
  NUV_THROW("CDHCPAddrMgrStub::failoverAdmin",
            nuv::CMessage("No failover admin manager available."), nuv::CMessage(kNoManager));
}
