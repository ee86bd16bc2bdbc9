#include "dhcp_base/CDHCP6Attributes.h"

#include "dhcp_base/CDHCP6Packet.h"

std::shared_ptr<CDHCP6Packet> CDHCP6Attributes::prototypePkt(CDHCPContext* context,
                                                             std::string instanceName) const {
  return std::make_shared<CDHCP6Packet>(context, std::move(instanceName));
}
