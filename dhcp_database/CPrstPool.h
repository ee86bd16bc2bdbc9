#pragma once
// A pool: a range of addresses (address pools, IA_NA/IA_TA) or of delegated
// prefixes (prefix pools, IA_PD) with its lifetimes, access expressions,
// relay (link) addresses and options. Secured: a pool is visible to the
// tokens of its domains.
//
// The range is an owned reference (ADDR_RANGE), the exclusions an owned
// link to many (table <pool table>_exc_links) and the relays an ordered
// owned link (table <pool table>_relay_links); all three are read on first
// use and written with the pool.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dhcp_database/CPrstDHCPIPAddressRange.h"
#include "dhcp_database/CPrstDHCPRecord.h"
#include "exp_eval/CExpression.h"
#include "oodb/CPrstIPAddress.h"
#include "oodb/CPrstLinkAttr.h"
#include "oodb/CPrstRefAttr.h"
#include "standard/CStringMap.h"

class CRecordTextReader;
class CRecordTextWriter;

class CPrstPool : public CPrstDHCPRecord {
 public:
  enum PoolType : std::uint8_t { addressPool = 0, networkPool = 1 };
  static constexpr std::uint32_t kInfinite = 0xffffffffu;
  using RangePtr = CPrstUserClassPtr<CPrstDHCPIPAddressRange>;
  using XRangePtr = CPrstUserClassPtr<CPrstDHCPIPExcAddrRange>;

  virtual PoolType type() const = 0;
  // The protocol family of the pool's table (6 for the DHCPv6 leaves).
  virtual int family() const = 0;

  const std::string& name() const { return m_name.get(); }
  void name(std::string v) { m_name.set(std::move(v)); }
  const std::string& description() const { return m_description.get(); }
  void description(std::string v) { m_description.set(std::move(v)); }
  bool active() const { return m_enabled.get(); }
  void active(bool v) { m_enabled.set(v); }
  std::uint32_t weight() const { return m_weight.get(); }
  void weight(std::uint32_t v) { m_weight.set(v); }
  const std::string& policies() const { return m_policies.get(); }
  void policies(std::string v) { m_policies.set(std::move(v)); }
  const nuv::CIPAddress& prefix() const { return m_prefix.get(); }
  void prefix(const nuv::CIPAddress& v) { m_prefix.set(v); }
  std::uint32_t prefixLen() const { return m_prefixLen.get(); }
  void prefixLen(std::uint32_t v) { m_prefixLen.set(v); }
  std::int32_t sessionID() const { return m_sessionID.get(); }
  void sessionID(std::int32_t v) { m_sessionID.set(v); }
  // Length of each delegated prefix; address pools fix it at the family's
  // address width and refuse any other value.
  virtual std::uint32_t subPrefixLen() const { return m_subPrefixLen.get(); }
  virtual void subPrefixLen(std::uint32_t v) { m_subPrefixLen.set(v); }

  // Seconds; kInfinite is infinite. The preferred lifetime is the stored
  // one unless that is 0: then half the valid lifetime when that is above
  // 1, else the valid lifetime.
  std::uint32_t validLifetime() const { return m_validLT.get(); }
  void validLifetime(std::uint32_t v) { m_validLT.set(v); }
  std::uint32_t prefLifetime() const;
  // A value of 0 or above the valid lifetime stores half the valid
  // lifetime (the valid lifetime when that half is 0).
  void prefLifetime(std::uint32_t v);

  // The access expressions, parsed with the context's evaluator; an empty
  // one admits (allow) or denies nobody (deny).
  const nuv::CExpression& allow() const { return _expr(m_allow, m_allowCache); }
  void allow(const nuv::CExpression& e);
  void allow(std::string_view text);
  const nuv::CExpression& deny() const { return _expr(m_deny, m_denyCache); }
  void deny(const nuv::CExpression& e);
  void deny(std::string_view text);

  // The range; a pool without one fails.
  const CPrstDHCPIPAddressRange& range() const;
  CPrstDHCPIPAddressRange& range();
  const RangePtr& rangePtr() const { return m_range.get(); }
  void range(RangePtr range) { m_range.set(std::move(range)); }
  // Sets the bounds, creating the range when the pool has none.
  void range(const nuv::CIPAddress& start, const nuv::CIPAddress& stop);
  // "<start>-<stop>".
  void range(std::string_view text);

  const std::vector<XRangePtr>& xrange() const { return m_xrange.items(); }
  void xrange(std::vector<XRangePtr> ranges) { m_xrange.set(std::move(ranges)); }
  // "<start>-<stop>,<start>-<stop>"; replaces the exclusions.
  void xrange(std::string_view text);
  // True when an exclusion holds the address.
  bool excluded(const nuv::CIPAddress& a) const;

  // The relay (link) addresses in order.
  std::vector<nuv::CIPAddress> relays() const;
  void relays(const std::vector<nuv::CIPAddress>& addresses);
  // Addresses separated by ",".
  void relays(std::string_view text);
  nuv::CIPAddress relay(std::size_t index) const;
  // Sets the relay at a position; one past the end appends.
  void relay(std::size_t index, const nuv::CIPAddress& address);
  // Exact equality with one of the relay addresses.
  bool containsRelay(const nuv::CIPAddress& address) const;

  // Text form keys: name, description, enabled, weight, allow, deny,
  // policies, prefix, prefix_len, sub_prefix_len, valid_lt, pref_lt
  // ("infinite" for 4294967295), session_id, rangestart, rangestop,
  // rangesize, relay, xrange, domains (domains+, domains-), mod_time and
  // the options. A new pool needs name, valid_lt, rangestart, rangestop (or
  // rangesize), relay and its kind's prefix keys; a stored one keeps what a
  // key leaves out.
  void _set(const nuv::CStringMap& map) override;

 protected:
  CPrstPool(const std::string& table, std::uint32_t subPrefixLen);

  // The prefix keys of the pool's kind: checked against the range start,
  // applied by _applyPrefixData.
  struct PrefixData {
    nuv::CIPAddress prefix;
    std::uint32_t prefixLen = 0;
    std::uint32_t subPrefixLen = 0;
  };
  virtual PrefixData _setPrefixData(const CRecordTextReader& in,
                                    const nuv::CIPAddress& rangeStart) const = 0;
  // The number of addresses or prefixes of the range, in decimal.
  virtual std::string _rangeSize() const = 0;
  // An address as an unsigned number, in decimal.
  static std::string _decimal(const nuv::CIPAddress& a);
  void _write(CRecordTextWriter& out) const override;
  void _setExclusions(const std::vector<std::pair<nuv::CIPAddress, nuv::CIPAddress>>& bounds);

 private:
  struct ExprCache {
    std::string text;
    nuv::CExpression expr;
    bool valid = false;
  };
  const nuv::CExpression& _expr(const CPrstAttr<std::string>& attr, ExprCache& cache) const;
  nuv::CExpression _parseExpr(std::string_view text) const;

  CPrstAttr<std::string> m_name{this, "NAME"};
  CPrstAttr<std::string> m_description{this, "DESCRIPTION"};
  CPrstAttr<bool> m_enabled{this, "ENABLED", CDBType::boolean, true};
  CPrstAttr<std::uint32_t> m_weight{this, "WEIGHT"};
  CPrstAttr<std::string> m_allow{this, "ALLOW", CDBType::expr};
  CPrstAttr<std::string> m_deny{this, "DENY", CDBType::expr};
  CPrstAttr<std::string> m_policies{this, "POLICIES"};
  CPrstAttr<nuv::CIPAddress> m_prefix{this, "PREFIX"};
  CPrstAttr<std::uint32_t> m_prefixLen{this, "PREFIX_LEN"};
  CPrstAttr<std::uint32_t> m_subPrefixLen;
  CPrstAttr<std::uint32_t> m_prefLT{this, "PREF_LT"};
  CPrstAttr<std::uint32_t> m_validLT{this, "VALID_LT"};
  CPrstAttr<std::int32_t> m_sessionID{this, "SESSION_ID"};
  CPrstRefAttr<CPrstDHCPIPAddressRange> m_range{this, "ADDR_RANGE"};
  CPrstLink2ManyAttr<CPrstDHCPIPExcAddrRange> m_xrange;
  CPrstLinkByIndexAttr<CPrstIPAddress> m_relays;

  mutable ExprCache m_allowCache;
  mutable ExprCache m_denyCache;
};
