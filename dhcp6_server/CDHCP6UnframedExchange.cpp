#include "dhcp6_server/CDHCP6UnframedExchange.h"

#include "standard/CException.h"

namespace {
// Without framing no message reaches a processor, so nothing asks for these.
[[noreturn]] void noFraming(const char* context, const char* what) {
  NUV_THROW(context, nuv::CMessage(what), nuv::CMessage("No message framing is available."));
}
}  // namespace

std::uint32_t CDHCP6UnframedExchange::startReply(const nuv::CHexStore&, nuv::CIPAddress& link) {
  link = nuv::CIPAddress("::");
  return 0;
}

int CDHCP6UnframedExchange::leaseQuery(CIDHCPLeaseQuery&) {
  noFraming("CDHCP6UnframedExchange::leaseQuery", "Cannot pass a lease query on.");
}

const std::uint8_t* CDHCP6UnframedExchange::serializeReply(std::size_t&, std::uint8_t&) {
  noFraming("CDHCP6UnframedExchange::serializeReply", "Cannot serialise a reply.");
}
