#include "dhcp6_server/CDHCP6ProcessorTable.h"

// Each client message type (1 Solicit, 3 Request, 4 Confirm, 5 Renew,
// 6 Rebind, 8 Release, 9 Decline, 11 Information-request) gets its entry
// here as its processor is written; until then the handler drops the
// message rather than invent a reply.
CDHCP6ProcessorTable::Run CDHCP6ProcessorTable::processor(std::uint8_t) {
  return nullptr;
}
