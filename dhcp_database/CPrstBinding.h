#pragma once
// A lease: one address or delegated prefix committed to one identity
// association of one client. Secured: a binding is visible to the tokens
// of its domains. It names its pool by POOL_OID only; the text form names
// it by pool name ("source_pool").
//
// Time rules: the expiry (LEASE_EXPIRE, stored so that expiry queries can
// use an index) is always commit time + duration; setting either moves it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dhcp_base/CDHCPTIDType.h"
#include "dhcp_database/CPrstBindingAddrKey.h"
#include "dhcp_database/CPrstDHCPRecord.h"
#include "dhcp_database/CPrstKeyedRecord.h"
#include "dhcp_database/CPrstPool.h"
#include "standard/CStringMap.h"

class CPrstPending;
class CRecordTextWriter;

class CPrstBinding : public CPrstKeyedRecord<CPrstDHCPRecord, CPrstBinding> {
 public:
  static constexpr std::uint32_t kInfinite = 0xffffffffu;

  virtual CPrstPool::PoolType poolType() const = 0;

  const nuv::CIPAddress& ipAddr() const { return m_ipAddr.get(); }
  void ipAddr(const nuv::CIPAddress& a) {
    m_ipAddr.set(a);
    m_addrKey.follow(a);
  }
  // The link (relay) address the lease was made on; "::" for a client on
  // the server's own segment.
  const nuv::CIPAddress& ipRelay() const { return m_relay.get(); }
  void ipRelay(const nuv::CIPAddress& a) { m_relay.set(a); }
  // "dhcpv4" (the default) or "dhcpv6".
  const std::string& bootProto() const { return m_bootProto.get(); }
  void bootProto(std::string v) { m_bootProto.set(std::move(v)); }
  bool isFixed() const { return m_fixed.get(); }
  void setFixed(bool v) { m_fixed.set(v); }
  // Which identifier of the device the binding trusts.
  CDHCPTIDType tidType() const { return static_cast<std::uint8_t>(m_tidType.get()); }
  void tidType(CDHCPTIDType v) { m_tidType.set(v.value()); }
  const std::string& tid() const { return m_tid.get(); }
  void tid(std::string v) { m_tid.set(std::move(v)); }
  const std::string& policies() const { return m_policies.get(); }
  void policies(std::string v) { m_policies.set(std::move(v)); }
  std::int32_t poolOID() const { return m_poolOID.get(); }
  void poolOID(std::int32_t v) { m_poolOID.set(v); }
  std::int32_t accountOID() const { return m_accountOID.get(); }
  void accountOID(std::int32_t v) { m_accountOID.set(v); }
  std::uint32_t bindingCount() const { return m_bindingsCount.get(); }
  void bindingCount(std::uint32_t v) { m_bindingsCount.set(v); }

  nuv::CTimeT leaseCommitTime() const { return m_commit.get(); }
  // Stores t and moves the expiry to t + duration.
  void leaseCommitTime(nuv::CTimeT t);
  nuv::CTimeT leaseExpireTime() const { return m_expire.get(); }
  std::uint32_t leaseDuration() const { return m_duration.get(); }
  // Stores d and moves the expiry to commit time + d.
  void leaseDuration(std::uint32_t d);
  // (commit time + duration) - now, in seconds; negative once expired.
  std::int64_t remainingLeaseTime() const;
  // The moment from which the binding may be reclaimed: the expiry plus a
  // grace (the tolerance, raised to duration * percent / 100 unless
  // skipPercent), raised to commit time + minInactiveDays days when that
  // is later (for minInactiveDays above 0).
  nuv::CTimeT gracefulLeaseExpireTime(std::uint32_t minInactiveDays, std::uint32_t tolerance,
                                      std::uint32_t percent, bool skipPercent) const;

  // The number of bindings of one device (statement "binding.count.type_tid"
  // on this record's table).
  std::int64_t tidCount(CDHCPTIDType tidType, const std::string& tid) const;

  // Takes what a claimed offer holds: key, address (and prefix length),
  // link address and pool; marks the lease as a DHCPv6 one, not fixed.
  // Duration, commit time, account and domains are the caller's.
  void copyFromPending(const CPrstPending& pending);

  // Text form keys: ipaddr, relay (also read as giaddr), protocol, fixed,
  // tid_type, tid, source_pool (the pool's name), source_account,
  // lease_commit, lease_expire, lease_duration ("infinite" allowed),
  // policies, domains (domains+, domains-), mod_time, the DHCPv6 keys
  // client_id (also read as duid), iatype, iaid, prefix_len for prefix
  // bindings, and the options. A new binding needs ipaddr, relay,
  // lease_duration and its key (and prefix_len); a stored one keeps what a
  // key leaves out.
  void _set(const nuv::CStringMap& map) override;

 protected:
  CPrstBinding() : CPrstKeyedRecord("binding-options") {}
  void _write(CRecordTextWriter& out) const override;

  // The text key a new binding is refused without ("client_id" or "duid").
  virtual const char* _duidKey() const { return "client_id"; }

  std::int32_t _poolNameToOID(const std::string& name) const;

 private:
  CPrstAttr<nuv::CIPAddress> m_ipAddr{this, "IPADDR"};
  CPrstBindingAddrKey m_addrKey{this};
  CPrstAttr<nuv::CIPAddress> m_relay{this, "RELAY"};
  CPrstAttr<std::string> m_bootProto{this, "BOOT_PROTO", CDBType::bootProto, "dhcpv4"};
  CPrstAttr<nuv::CTimeT> m_commit{this, "LEASE_COMMIT"};
  CPrstAttr<nuv::CTimeT> m_expire{this, "LEASE_EXPIRE"};
  CPrstAttr<std::uint32_t> m_duration{this, "LEASE_DURATION"};
  CPrstAttr<bool> m_fixed{this, "FIXED"};
  CPrstAttr<std::uint32_t> m_tidType{this, "TID_TYPE"};
  CPrstAttr<std::string> m_tid{this, "TID"};
  CPrstAttr<std::int32_t> m_poolOID{this, "POOL_OID", CDBType::longInt};
  CPrstAttr<std::int32_t> m_accountOID{this, "ACCOUNT_OID", CDBType::longInt};
  CPrstAttr<std::string> m_policies{this, "POLICIES"};
  CPrstAttr<std::uint32_t> m_bindingsCount{this, "BINDINGS_COUNT", CDBType::ulongInt};
  CPrstAttr<std::uint32_t> m_tidCount{this, "TID_COUNT", CDBType::ulongInt};
};
