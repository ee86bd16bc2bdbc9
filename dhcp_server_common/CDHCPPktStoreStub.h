#pragma once
// Stands in for a missing packet store: nothing is kept.

#include "dhcp_server_common/CIDHCPPktStore.h"

class CDHCPPktStoreStub : public CIDHCPPktStore {
 public:
  void inputFromNode(const CAccessID&, std::uint8_t, const nuv::CHexStore&, const nuv::CHexStore&,
                     const nuv::CHexStore&, const nuv::CHexStore&, const CPktText&,
                     const std::uint8_t*, std::size_t) override {}
  void outputToNode(const CAccessID&, std::uint8_t, std::uint8_t, const nuv::CHexStore&,
                    const nuv::CHexStore&, const nuv::CHexStore&, const nuv::CHexStore&,
                    const CPktText&, const std::uint8_t*, std::size_t) override {}
};
