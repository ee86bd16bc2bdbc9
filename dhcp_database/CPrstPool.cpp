#include "dhcp_database/CPrstPool.h"

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_database/CRecordTextReader.h"
#include "dhcp_database/CRecordTextWriter.h"
#include "oodb/CIPrstSession.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace {

const char* const kSummary = "Cannot set pool record from text.";

using Bounds = std::vector<std::pair<nuv::CIPAddress, nuv::CIPAddress>>;

// Splits "<start>-<stop>"; IPv6 addresses hold no "-".
bool splitRange(std::string_view text, int family, nuv::CIPAddress& start, nuv::CIPAddress& stop) {
  const auto dash = text.find('-');
  if (dash == std::string_view::npos) return false;
  auto a = CRecordTextReader::address(text.substr(0, dash), family);
  auto b = CRecordTextReader::address(text.substr(dash + 1), family);
  if (!a || !b || *b < *a) return false;
  start = *a;
  stop = *b;
  return true;
}

// "<start>-<stop>,..."; false at the first item that is not a range.
bool splitRanges(std::string_view text, int family, Bounds& out) {
  for (const std::string& item : nuv::split(text, ',')) {
    if (nuv::trim(item).empty()) continue;
    nuv::CIPAddress a, b;
    if (!splitRange(item, family, a, b)) return false;
    out.emplace_back(a, b);
  }
  return true;
}

// "<address>,..."; false at the first item that is not an address.
bool splitAddresses(std::string_view text, int family, std::vector<nuv::CIPAddress>& out) {
  for (const std::string& item : nuv::split(text, ',')) {
    if (nuv::trim(item).empty()) continue;
    auto a = CRecordTextReader::address(item, family);
    if (!a) return false;
    out.push_back(*a);
  }
  return true;
}

bool nodeLocal(const nuv::CIPAddress& a) {
  return a.isLoopBack() || a.addrScope() == nuv::CIPAddress::scope_interface;
}

}  // namespace

CPrstPool::CPrstPool(const std::string& table, std::uint32_t subPrefixLen)
    : CPrstDHCPRecord("pool-options"),
      m_subPrefixLen(this, "SUB_PREFIX_LEN", CDBType::uint32, subPrefixLen),
      m_xrange(this, "XRANGE", table + "_exc_links"),
      m_relays(this, "RELAY", table + "_relay_links") {}

std::uint32_t CPrstPool::prefLifetime() const {
  if (m_prefLT.get() != 0) return m_prefLT.get();
  const std::uint32_t valid = m_validLT.get();
  return valid > 1 ? valid / 2 : valid;
}

void CPrstPool::prefLifetime(std::uint32_t v) {
  const std::uint32_t valid = m_validLT.get();
  if (v == 0 || v > valid) v = valid / 2 ? valid / 2 : valid;
  m_prefLT.set(v);
}

nuv::CExpression CPrstPool::_parseExpr(std::string_view text) const {
  const CDHCPContext* ctx = context();
  return nuv::CExpression(ctx ? ctx->evaluator() : nullptr, text);
}

const nuv::CExpression& CPrstPool::_expr(const CPrstAttr<std::string>& attr,
                                         ExprCache& cache) const {
  if (!cache.valid || cache.text != attr.get()) {
    cache.expr = _parseExpr(attr.get());
    cache.text = attr.get();
    cache.valid = true;
  }
  return cache.expr;
}

void CPrstPool::allow(const nuv::CExpression& e) {
  m_allow.set(e.text());
  m_allowCache = {e.text(), e, true};
}

void CPrstPool::allow(std::string_view text) {
  allow(_parseExpr(text));
}

void CPrstPool::deny(const nuv::CExpression& e) {
  m_deny.set(e.text());
  m_denyCache = {e.text(), e, true};
}

void CPrstPool::deny(std::string_view text) {
  deny(_parseExpr(text));
}

const CPrstDHCPIPAddressRange& CPrstPool::range() const {
  return *m_range.get();
}

CPrstDHCPIPAddressRange& CPrstPool::range() {
  return *m_range.get();
}

void CPrstPool::range(const nuv::CIPAddress& start, const nuv::CIPAddress& stop) {
  if (m_range.get().empty()) {
    if (!session())
      NUV_THROW("CPrstPool::range",
                nuv::CMessage("Cannot set the range of pool '%1'.").pushs(name()),
                nuv::CMessage("The pool has no database session."));
    m_range.set(session()->createTransient<CPrstDHCPIPAddressRange>());
  }
  m_range->start(start);
  m_range->stop(stop);
}

void CPrstPool::range(std::string_view text) {
  nuv::CIPAddress start, stop;
  if (!splitRange(text, family(), start, stop))
    NUV_THROW("CPrstPool::range", nuv::CMessage("Cannot set the range of pool '%1'.").pushs(name()),
              nuv::CMessage("Invalid range '%1'.").pushs(text));
  range(start, stop);
}

void CPrstPool::xrange(std::string_view text) {
  Bounds bounds;
  if (!splitRanges(text, family(), bounds))
    NUV_THROW("CPrstPool::xrange",
              nuv::CMessage("Cannot set the exclusions of pool '%1'.").pushs(name()),
              nuv::CMessage("Invalid range list '%1'.").pushs(text));
  _setExclusions(bounds);
}

void CPrstPool::_setExclusions(const Bounds& bounds) {
  std::vector<XRangePtr> ranges;
  for (const auto& [start, stop] : bounds) {
    auto r = session()->createTransient<CPrstDHCPIPExcAddrRange>();
    r->start(start);
    r->stop(stop);
    ranges.push_back(std::move(r));
  }
  xrange(std::move(ranges));
}

bool CPrstPool::excluded(const nuv::CIPAddress& a) const {
  for (const auto& r : xrange())
    if (r->contains(a)) return true;
  return false;
}

std::vector<nuv::CIPAddress> CPrstPool::relays() const {
  std::vector<nuv::CIPAddress> out;
  out.reserve(m_relays.size());
  for (const auto& p : m_relays.items()) out.push_back(p->address());
  return out;
}

void CPrstPool::relays(const std::vector<nuv::CIPAddress>& addresses) {
  std::vector<CPrstUserClassPtr<CPrstIPAddress>> items;
  for (const auto& a : addresses) {
    auto p = session()->createTransient<CPrstIPAddress>();
    p->address(a);
    items.push_back(std::move(p));
  }
  m_relays.set(std::move(items));
}

void CPrstPool::relays(std::string_view text) {
  std::vector<nuv::CIPAddress> addresses;
  if (!splitAddresses(text, family(), addresses))
    NUV_THROW("CPrstPool::relays",
              nuv::CMessage("Cannot set the relays of pool '%1'.").pushs(name()),
              nuv::CMessage("Invalid address list '%1'.").pushs(text));
  relays(addresses);
}

nuv::CIPAddress CPrstPool::relay(std::size_t index) const {
  return m_relays.at(index)->address();
}

void CPrstPool::relay(std::size_t index, const nuv::CIPAddress& address) {
  if (index < m_relays.size()) {
    // The address row is owned by the pool: change it in place.
    m_relays.at(index)->address(address);
    return;
  }
  auto p = session()->createTransient<CPrstIPAddress>();
  p->address(address);
  m_relays.set(index, std::move(p));
}

bool CPrstPool::containsRelay(const nuv::CIPAddress& address) const {
  for (const auto& p : m_relays.items())
    if (p->address() == address) return true;
  return false;
}

std::string CPrstPool::_decimal(const nuv::CIPAddress& a) {
  unsigned __int128 v = 0;
  for (std::size_t i = 0; i < a.raw_len(); ++i) v = (v << 8) | a.raw()[i];
  std::string out;
  do {
    out.insert(out.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
    v /= 10;
  } while (v);
  return out;
}

// ---- text form ---------------------------------------------------------------

void CPrstPool::_write(CRecordTextWriter& out) const {
  out.add("name", name());
  out.add("description", description());
  out.add("enabled", active() ? "true" : "false");
  out.add("weight", std::to_string(weight()));
  out.add("allow", m_allow.get());
  out.add("deny", m_deny.get());
  out.add("policies", policies());
  out.add("prefix", prefix().isValid() ? prefix().string() : std::string());
  out.add("prefix_len", std::to_string(prefixLen()));
  out.add("sub_prefix_len", std::to_string(subPrefixLen()));
  out.add("valid_lt", CRecordTextWriter::lifetime(validLifetime()));
  out.add("pref_lt", CRecordTextWriter::lifetime(prefLifetime()));
  out.add("session_id", std::to_string(sessionID()));
  const bool hasRange = !m_range.get().empty();
  out.add("rangestart", hasRange ? range().start().string() : std::string());
  out.add("rangestop", hasRange ? range().stop().string() : std::string());
  out.add("rangesize", hasRange ? _rangeSize() : std::string("0"));
  std::string list;
  for (const auto& a : relays()) list += (list.empty() ? "" : ",") + a.string();
  out.add("relay", list);
  list.clear();
  for (const auto& r : xrange()) list += (list.empty() ? "" : ",") + r->rangeText();
  out.add("xrange", list);
  out.add("domains", domainMemberships().string());
  out.add("mod_time", modTime().string());
}

void CPrstPool::_set(const nuv::CStringMap& map) {
  const CRecordTextReader in(map, "CPrstPool::_set", kSummary);
  const bool creating = isTransient();
  const int fam = family();

  if (creating && !in.has("name")) in.fail("Missing 'name' key.");
  const auto newName = in.name("name");
  std::optional<std::uint32_t> valid;
  try {
    valid = in.lifetime("valid_lt");
  } catch (const nuv::CException&) {
    in.fail("Invalid or missing 'valid_lt' key.");
  }
  if (creating && !valid) in.fail("Invalid or missing 'valid_lt' key.");

  // The range: given bounds, or the current ones for a stored pool.
  const bool hasRange = !m_range.get().empty();
  nuv::CIPAddress start = hasRange ? range().start() : nuv::CIPAddress();
  nuv::CIPAddress stop = hasRange ? range().stop() : nuv::CIPAddress();
  auto bound = [&](const char* key, nuv::CIPAddress& out) {
    const std::string* v = in.get(key);
    if (!v) return false;
    auto a = CRecordTextReader::address(*v, fam);
    if (!a) in.fail(nuv::CMessage("Incorrect ip address type for key '%1'.").pushs(key));
    if (nodeLocal(*a))
      in.fail(nuv::CMessage("Key '%1' specifies a node-local address.").pushs(key));
    if (a->isLinkLocal())
      in.fail(nuv::CMessage("Key '%1' specifies a link-local address.").pushs(key));
    out = *a;
    return true;
  };
  const bool startGiven = bound("rangestart", start);
  if (creating && !startGiven) in.fail("Missing 'rangestart' key.");
  bool stopGiven = bound("rangestop", stop);
  if (!stopGiven && in.has("rangesize")) {
    // A number of addresses, or of delegated prefixes for a prefix pool.
    const auto size = in.u32("rangesize");
    const auto spl = in.u32("sub_prefix_len").value_or(subPrefixLen());
    if (*size == 0 || spl == 0 || spl > start.bitWidth()) in.invalid("rangesize");
    nuv::CIPAddress span(start.type());
    span.set_inaddr_any(start.type());
    span += *size - 1;
    span.shiftLeft(static_cast<unsigned>(start.bitWidth() - spl));
    stop = start + span;
    stopGiven = true;
  }
  if (creating && !stopGiven) in.fail("Missing 'rangestop' key.");
  if (stop < start) in.fail("Values for keys 'rangestart' and 'rangestop' are reversed.");

  std::optional<std::vector<nuv::CIPAddress>> relayList;
  if (const std::string* v = in.get("relay")) {
    relayList.emplace();
    if (!splitAddresses(*v, fam, *relayList)) in.fail("Incorrect ip address type for key 'relay'.");
    if (relayList->empty()) in.fail("Missing 'relay' key.");
  } else if (creating) {
    in.fail("Missing 'relay' key.");
  }

  const PrefixData pd = _setPrefixData(in, start);
  if (start.isValid() && start.createPrefix(pd.prefixLen) != stop.createPrefix(pd.prefixLen))
    in.fail("Values for keys 'rangestart' and 'rangestop' are not on the same network.");

  const auto enabled = in.boolean("enabled");
  const auto weightValue = in.u32("weight");
  const auto pref = in.lifetime("pref_lt");
  const auto sessionId = in.i32("session_id");
  std::optional<nuv::CExpression> allowExpr, denyExpr;
  const auto allowText = in.expression("allow");
  const auto denyText = in.expression("deny");
  try {
    if (allowText) allowExpr = _parseExpr(*allowText);
    if (denyText) denyExpr = _parseExpr(*denyText);
  } catch (const nuv::CException& e) {
    in.fail(nuv::CMessage(e.whatText()));
  }
  Bounds exclusions;
  if (const std::string* v = in.get("xrange"))
    if (!splitRanges(*v, fam, exclusions)) in.invalid("xrange");
  const auto domains = in.domains(domainMemberships().domains());
  COptionStorePtr options = _optionsFromText(in);

  // Everything is checked: apply.
  if (newName) name(*newName);
  if (const std::string* v = in.get("description")) description(*v);
  if (const std::string* v = in.get("policies")) policies(*v);
  if (enabled) active(*enabled);
  if (weightValue) weight(*weightValue);
  if (valid) validLifetime(*valid);
  if (pref)
    prefLifetime(*pref);
  else if (m_prefLT.get() > validLifetime())
    prefLifetime(m_prefLT.get());
  if (sessionId) sessionID(*sessionId);
  if (allowExpr) allow(*allowExpr);
  if (denyExpr) deny(*denyExpr);
  if (startGiven || stopGiven) range(start, stop);
  if (relayList) relays(*relayList);
  if (in.has("xrange")) _setExclusions(exclusions);
  prefix(pd.prefix);
  prefixLen(pd.prefixLen);
  m_subPrefixLen.set(pd.subPrefixLen);
  if (domains) domainMemberships(*domains);
  if (options) _adoptOptions(std::move(options));
}
