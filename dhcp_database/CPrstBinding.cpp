#include "dhcp_database/CPrstBinding.h"

#include <algorithm>

#include "dhcp_base/CIAType.h"
#include "dhcp_database/CPrstPending.h"
#include "dhcp_database/CRecordTextReader.h"
#include "dhcp_database/CRecordTextWriter.h"
#include "oodb/CIPrstSession.h"
#include "oodb/CPrstException.h"
#include "oodb/CPrstUserClassPrototype.h"
#include "oodb/CPrstValueTraits.h"
#include "standard/StringUtil.h"

void CPrstBinding::leaseCommitTime(nuv::CTimeT t) {
  m_commit.set(t);
  m_expire.set(t + static_cast<std::time_t>(m_duration.get()));
}

void CPrstBinding::leaseDuration(std::uint32_t d) {
  m_duration.set(d);
  m_expire.set(m_commit.get() + static_cast<std::time_t>(d));
}

std::int64_t CPrstBinding::remainingLeaseTime() const {
  return static_cast<std::int64_t>(m_commit.get().get()) + m_duration.get() -
         static_cast<std::int64_t>(nuv::CTimeT::now().get());
}

nuv::CTimeT CPrstBinding::gracefulLeaseExpireTime(std::uint32_t minInactiveDays,
                                                  std::uint32_t tolerance, std::uint32_t percent,
                                                  bool skipPercent) const {
  std::uint64_t grace = tolerance;
  if (!skipPercent)
    grace = std::max<std::uint64_t>(grace,
                                    static_cast<std::uint64_t>(m_duration.get()) * percent / 100);
  nuv::CTimeT out = m_expire.get() + static_cast<std::time_t>(grace);
  if (minInactiveDays > 0)
    out = std::max(out, m_commit.get() + static_cast<std::time_t>(minInactiveDays) * 86400);
  return out;
}

std::int64_t CPrstBinding::tidCount(CDHCPTIDType type, const std::string& tidValue) const {
  nuv::CStringMap args;
  args.set("TID", tidValue);
  args.set("TID_TYPE", std::to_string(type.value()));
  return session()->selectCount(prototype()->name(), "binding.count.type_tid", args, {});
}

// ---- key ---------------------------------------------------------------------

void CPrstBinding::copyFromPending(const CPrstPending& pending) {
  if (_key6() && pending._key6()) _key6()->assign(pending._key6()->tuple());
  ipAddr(pending.offeredAddress());
  ipRelay(pending.relayAddress());
  poolOID(pending.poolOID());
  if (auto* len = _prefixLen(); len && pending._prefixLen()) len->set(pending._prefixLen()->get());
  bootProto("dhcpv6");
  setFixed(false);
}

// ---- pools by name -------------------------------------------------------------

std::int32_t CPrstBinding::_poolNameToOID(const std::string& poolName) const {
  if (poolName.empty()) return 0;
  nuv::CStringMap args;
  args.set("NAME", poolName);
  CPrstRawPage page =
      session()->selectRaw(_poolPrototype(), "dhcp.name", args, CPrstSelectOptions().withRows(1));
  if (page.objects.empty()) return -1;
  return dynamic_cast<CFirstClassObject&>(*page.objects.front()).identity();
}

// ---- text form -------------------------------------------------------------------

void CPrstBinding::_write(CRecordTextWriter& out) const {
  out.add("ipaddr", ipAddr().isValid() ? ipAddr().string() : std::string());
  out.add("relay", ipRelay().isValid() ? ipRelay().string() : std::string());
  out.add("protocol", bootProto());
  out.add("fixed", isFixed() ? "true" : "false");
  out.add("tid_type", tidType().string());
  out.add("tid", tid());
  out.add("source_pool", _OIDToPoolName(poolOID()));
  out.add("source_account", std::to_string(accountOID()));
  out.add("lease_commit", leaseCommitTime().string());
  out.add("lease_expire", leaseExpireTime().string());
  out.add("lease_duration", CRecordTextWriter::lifetime(leaseDuration()));
  out.add("policies", policies());
  out.add("domains", domainMemberships().string());
  out.add("mod_time", modTime().string());
  _writeKey(out);
}

void CPrstBinding::_set(const nuv::CStringMap& map) {
  // Missing keys and unreadable values are reported under one summary,
  // bad addresses and a missing link under the other.
  const CRecordTextReader in(map, "CPrstBinding::_set",
                             "Failed to set a binding record from text.");
  const CRecordTextReader addr(map, "CPrstBinding::_set", "Cannot set binding record from text.");
  const bool creating = isTransient();
  const int fam = family();

  std::optional<nuv::CIPAddress> ip;
  if (const std::string* v = in.get("ipaddr")) {
    ip = CRecordTextReader::address(*v, fam);
    if (!ip) addr.fail("Incorrect ip address type for key 'ipaddr'.");
  } else if (creating) {
    in.fail("Missing 'ipaddr' key.");
  }
  const auto duration = in.lifetime("lease_duration");
  if (creating && !duration) in.fail("Missing 'lease_duration' key.");
  std::optional<nuv::CIPAddress> relay;
  if (const std::string* v = in.get("relay", "giaddr")) {
    relay = CRecordTextReader::address(*v, fam);
    if (!relay) addr.fail("Incorrect ip address type for key 'relay' (giaddr).");
  } else if (creating) {
    addr.fail("Missing 'relay' key.");
  }

  std::optional<nuv::CHexStore> duid;
  std::optional<std::uint32_t> iaid;
  std::optional<CIAType> iaType;
  if (_key6()) {
    if (const std::string* v = in.get("client_id", "duid")) {
      try {
        duid = CPrstValueTraits<nuv::CHexStore>::parse(*v);
      } catch (const nuv::CException&) {
        in.invalid(in.has("client_id") ? "client_id" : "duid");
      }
    } else if (creating) {
      in.fail(nuv::CMessage("Missing '%1' key.").pushs(_duidKey()));
    }
    iaid = in.u32("iaid");
    if (creating && !iaid) in.fail("Missing 'iaid' key.");
    iaType = in.named<CIAType>("iatype");
    if (creating && !iaType) in.fail("Missing 'iatype' key.");
  }
  std::optional<std::uint32_t> prefixLen;
  if (_prefixLen()) {
    prefixLen = in.u32("prefix_len");
    if (creating && !prefixLen) in.fail("Missing 'prefix_len' key.");
    if (prefixLen && *prefixLen > (fam == 4 ? 32u : 128u)) in.invalid("prefix_len");
  }

  std::optional<std::string> protocol;
  if (const std::string* v = in.get("protocol")) {
    protocol = nuv::toLower(nuv::trim(*v));
    if (*protocol != "dhcpv4" && *protocol != "dhcpv6") in.invalid("protocol");
  }
  const auto fixed = in.boolean("fixed");
  const auto tidTypeValue = in.named<CDHCPTIDType>("tid_type");
  std::optional<std::int32_t> pool;
  if (const std::string* v = in.get("source_pool")) {
    pool = _poolNameToOID(nuv::trim(*v));
    if (*pool < 0) addr.fail(nuv::CMessage("Pool '%1' does not exist.").pushs(nuv::trim(*v)));
  }
  const auto account = in.i32("source_account");
  const auto commit = in.time("lease_commit");
  const auto domains = in.domains(domainMemberships().domains());
  COptionStorePtr options = _optionsFromText(in);

  // Everything is checked: apply. Commit time before duration, so that the
  // expiry follows both.
  if (ip) ipAddr(*ip);
  if (relay) ipRelay(*relay);
  if (commit) leaseCommitTime(*commit);
  if (duration) leaseDuration(*duration);
  if (duid) _key6()->duid(*duid);
  if (iaid) _key6()->iaid(*iaid);
  if (iaType) _key6()->iaType(*iaType);
  if (prefixLen) _prefixLen()->set(*prefixLen);
  if (protocol) bootProto(*protocol);
  if (fixed) setFixed(*fixed);
  if (tidTypeValue) tidType(*tidTypeValue);
  if (const std::string* v = in.get("tid")) tid(*v);
  if (pool) poolOID(*pool);
  if (account) accountOID(*account);
  if (const std::string* v = in.get("policies")) policies(*v);
  if (domains) domainMemberships(*domains);
  if (options) _adoptOptions(std::move(options));
}
