#include "tools/CRecordKind.h"

#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "standard/StringUtil.h"

namespace {

// Keys every record shows but nobody sets: accepted so that a shown
// record can be fed back as a file.
const std::vector<std::string> kShownOnly = {"oid", "mod_time"};
const std::vector<std::string> kCommon = {"domains", "domains+", "domains-",
                                          "options", "option",   "-option"};

std::vector<std::string> withCommon(std::vector<std::string> own) {
  own.insert(own.end(), kCommon.begin(), kCommon.end());
  own.insert(own.end(), kShownOnly.begin(), kShownOnly.end());
  return own;
}

std::vector<std::string> poolKeys() {
  return withCommon({"name", "description", "enabled", "weight", "allow", "deny", "policies",
                     "prefix", "prefix_len", "sub_prefix_len", "valid_lt", "pref_lt", "session_id",
                     "rangestart", "rangestop", "rangesize", "relay", "xrange"});
}

std::vector<std::string> bindingKeys(bool prefix) {
  std::vector<std::string> k = {
      "ipaddr",   "relay",       "giaddr",         "protocol",     "fixed",        "tid_type",
      "tid",      "source_pool", "source_account", "lease_commit", "lease_expire", "lease_duration",
      "policies", "client_id",   "duid",           "iatype",       "iaid"};
  if (prefix) k.push_back("prefix_len");
  return withCommon(std::move(k));
}

}  // namespace

const std::vector<CRecordKind>& CRecordKind::all() {
  static const std::vector<CRecordKind> kinds = {
      {"policy", "policies", CPolicyRecord::prototypeName(), CPolicyRecord::kTable, "name",
       "policy.name", "NAME", false, false, withCommon({"name", "enforce", "description"})},
      {"pool", "pools", CPrstAddressPool6::prototypeName(), CPrstAddressPool6::kTable, "name",
       "dhcp.name", "NAME", false, true, poolKeys()},
      {"prefix-pool", "prefix-pools", CPrstNetworkPool6::prototypeName(), CPrstNetworkPool6::kTable,
       "name", "dhcp.name", "NAME", false, true, poolKeys()},
      {"binding", "bindings", CPrstAddressBinding6::prototypeName(), CPrstAddressBinding6::kTable,
       "ipaddr", "binding.addr", "IPADDR", true, true, bindingKeys(false)},
      {"prefix-binding", "prefix-bindings", CPrstNetworkBinding6::prototypeName(),
       CPrstNetworkBinding6::kTable, "ipaddr", "binding.addr", "IPADDR", true, true,
       bindingKeys(true)},
  };
  return kinds;
}

const CRecordKind* CRecordKind::find(std::string_view word) {
  for (const CRecordKind& k : all())
    if (word == k.name || word == k.plural) return &k;
  return nullptr;
}

bool CRecordKind::accepts(std::string_view key) const {
  for (const std::string& k : keys)
    if (nuv::iequals(k, key)) return true;
  return false;
}

std::string CRecordKind::keyList() const {
  std::string out;
  for (const std::string& k : keys) out += (out.empty() ? "" : ", ") + k;
  return out;
}
