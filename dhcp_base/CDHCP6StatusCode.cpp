#include "dhcp_base/CDHCP6StatusCode.h"

#include "dhcp_base/NameTable.h"

namespace {
const char* const kNames[] = {"success",           "unspec_fail",           "no_addrs_avail",
                              "no_binding",        "not_on_link",           "use_multicast",
                              "no_prefix_avail",   "lq_unknown_query_type", "lq_malformed_query",
                              "lq_not_configured", "lq_not_allowed"};
}  // namespace

std::string CDHCP6StatusCode::string() const {
  const char* n = nametable::name(kNames, m_value);
  return n ? n : std::to_string(m_value);
}
