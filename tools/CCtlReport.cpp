#include "tools/CCtlReport.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "standard/StringUtil.h"
#include "tools/CTextTable.h"

namespace {

std::string whole(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", v);
  return text;
}

std::string percent(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", v);
  return text;
}

// A count as JSON: an integer where it is one exactly.
nlohmann::json count(double v) {
  if (v >= 0 && v < 9007199254740992.0 && std::floor(v) == v) return static_cast<std::uint64_t>(v);
  return v;
}

}  // namespace

void CCtlReport::leases(const std::vector<CLeaseRow>& rows, bool json, std::ostream& out) {
  if (json) {
    nlohmann::json list = nlohmann::json::array();
    for (const CLeaseRow& r : rows)
      list.push_back({{"address", r.address},
                      {"prefix", r.prefix},
                      {"duid", r.duid},
                      {"ia_type", r.iaType},
                      {"iaid", r.iaid},
                      {"state", r.state},
                      {"remaining", r.remaining},
                      {"infinite", r.infinite},
                      {"pool", r.pool}});
    out << list.dump(2) << "\n";
    return;
  }
  CTextTable table({"ADDRESS", "DUID", "IA", "IAID", "STATE", "REMAINING", "POOL"},
                   {false, false, false, true, false, true, false});
  for (const CLeaseRow& r : rows)
    table.add({r.address, r.duid, r.iaType, std::to_string(r.iaid), r.state,
               CLeaseReport::remainingText(r), r.pool.empty() ? "-" : r.pool});
  table.print(out);
}

void CCtlReport::pools(const std::vector<CPoolUsage>& pools, bool json, std::ostream& out) {
  if (json) {
    nlohmann::json list = nlohmann::json::array();
    for (const CPoolUsage& p : pools)
      list.push_back({{"name", p.name},
                      {"kind", p.kind()},
                      {"enabled", p.enabled},
                      {"total", count(p.total)},
                      {"leased", p.leased},
                      {"offered", p.offered},
                      {"free", count(p.free())},
                      {"utilisation", p.utilisation()}});
    out << list.dump(2) << "\n";
    return;
  }
  CTextTable table({"POOL", "KIND", "TOTAL", "LEASED", "OFFERED", "FREE", "USED"},
                   {false, false, true, true, true, true, true});
  for (const CPoolUsage& p : pools)
    table.add({p.enabled ? p.name : p.name + " (disabled)", p.kind(), whole(p.total),
               std::to_string(p.leased), std::to_string(p.offered), whole(p.free()),
               percent(p.utilisation())});
  table.print(out);
}

void CCtlReport::stats(const std::string& answer, bool json, std::ostream& out) {
  nlohmann::json object = nlohmann::json::object();
  CTextTable table({"METRIC", "VALUE"}, {false, true});
  std::istringstream in(answer);
  for (std::string line; std::getline(in, line);) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string name = nuv::trim(line.substr(0, eq));
    const std::string value = nuv::trim(line.substr(eq + 1));
    table.add({name, value});
    if (value.find_first_not_of("0123456789") == std::string::npos && !value.empty())
      object[name] = std::stoull(value);
    else
      object[name] = value;
  }
  if (json)
    out << object.dump(2) << "\n";
  else
    table.print(out);
}
