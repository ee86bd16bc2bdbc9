#include "dhcp_server_common/CLeaseRights.h"

std::string CLeaseRights::string() const {
  if (m_bits == none) return "none";
  std::string out;
  if (has(renew)) out = "renew";
  if (has(create)) out += out.empty() ? "create" : ",create";
  return out;
}
