#include "dhcp_database/CPrstBindingUsedAddrs.h"

#include <string>

#include "dhcp_database/CPrstBindingAddrKey.h"
#include "standard/CStringMap.h"

namespace {

nuv::CStringMap rangeArgs(const nuv::CIPAddress& from, const nuv::CIPAddress& to) {
  nuv::CStringMap args;
  args.set("FROM_KEY", CPrstBindingAddrKey::of(from));
  args.set("TO_KEY", CPrstBindingAddrKey::of(to));
  return args;
}

}  // namespace

std::vector<nuv::CIPAddress> CPrstBindingUsedAddrs::inRange(CIPrstSession& session, Kind kind,
                                                            const nuv::CIPAddress& from,
                                                            const nuv::CIPAddress& to,
                                                            std::size_t rows) {
  nuv::CStringMap args = rangeArgs(from, to);
  args.set("ROWS", std::to_string(rows));
  const auto keys =
      session.selectValues(kind == prefixes ? "prefix6.used_range" : "address6.used_range", args,
                           CPrstSelectOptions().withRows(rows));
  std::vector<nuv::CIPAddress> out;
  out.reserve(keys.size());
  for (const CDBValue& key : keys) out.push_back(CPrstBindingAddrKey::address(key.textRef()));
  return out;
}

nuv::CIPAddress CPrstBindingUsedAddrs::highest(CIPrstSession& session, Kind kind,
                                               const nuv::CIPAddress& from,
                                               const nuv::CIPAddress& to) {
  const auto keys =
      session.selectValues(kind == prefixes ? "prefix6.used_max" : "address6.used_max",
                           rangeArgs(from, to), CPrstSelectOptions().withRows(1));
  return keys.empty() || keys.front().isNull()
             ? nuv::CIPAddress()
             : CPrstBindingAddrKey::address(keys.front().textRef());
}
