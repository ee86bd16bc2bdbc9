#include "dhcp_server_common/CDDNSLeaseNames.h"

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/CDNSNameIO.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_base/CVendorID.h"
#include "dhcp_database/CPrstDHCPRecord.h"

namespace {

COptionPtr first(const COptionStore& options, std::uint32_t code) {
  COptionPtr option;
  if (!options.find(CTagPath{code}, option) || option->count() == 0) return nullptr;
  return option;
}

std::string name(const COptionStore& options, std::uint32_t code) {
  const COptionPtr option = first(options, code);
  return option ? std::string(CDNSNameIO::withoutRootDot(CValueTypeConverter::string(*option, 0)))
                : std::string();
}

void put(COptionStore& options, std::uint32_t code, const nuv::CVariant& value, bool present) {
  if (!present) {
    while (options.erase(CTagPath{code})) {
    }
    return;
  }
  options.overwrite(
      options.context()->factory().create(code, CVendorID::reserved(), value, &options));
}

}  // namespace

bool CDDNSLeaseNames::operator==(const CDDNSLeaseNames& o) const {
  return fqdn == o.fqdn && forwardZone == o.forwardZone && reverseZone == o.reverseZone &&
         server == o.server && authoritative == o.authoritative;
}

CDDNSLeaseNames CDDNSLeaseNames::of(const CPrstDHCPRecord& binding) {
  return binding.hasOptions() ? read(binding.optionStore()) : CDDNSLeaseNames();
}

CDDNSLeaseNames CDDNSLeaseNames::read(const COptionStore& options) {
  CDDNSLeaseNames out;
  out.fqdn = name(options, kNameCode);
  if (out.fqdn.empty()) return out;
  out.forwardZone = name(options, kForwardZoneCode);
  out.reverseZone = name(options, kReverseZoneCode);
  if (const COptionPtr s = first(options, kServerCode))
    out.server = CValueTypeConverter::endpoint(*s, 0);
  const COptionPtr a = first(options, kAuthoritativeCode);
  out.authoritative = a && CValueTypeConverter::boolean(*a, 0);
  return out;
}

bool CDDNSLeaseNames::keepIn(CPrstDHCPRecord& binding) const {
  if (of(binding) == *this) return false;
  write(binding.mutableOptionStore());
  return true;
}

void CDDNSLeaseNames::write(COptionStore& options) const {
  const bool kept = !empty();
  put(options, kNameCode, nuv::CVariant(fqdn), kept);
  put(options, kForwardZoneCode, nuv::CVariant(forwardZone), kept && !forwardZone.empty());
  put(options, kReverseZoneCode, nuv::CVariant(reverseZone), kept && !reverseZone.empty());
  // Without one of its own the DDNS service's default server is used.
  put(options, kServerCode, nuv::CVariant(server), kept && server.address().isValid());
  put(options, kAuthoritativeCode, nuv::CVariant(true), kept && authoritative);
}

void CDDNSLeaseNames::appendDeletes(const nuv::CIPAddress& address,
                                    std::vector<CDDNSUpdate>& forward,
                                    std::vector<CDDNSUpdate>& reverse) const {
  const auto append = [&](std::vector<CDDNSUpdate>& list, const std::string& zone) {
    if (zone.empty()) return;
    if (!list.empty()) {
      CDDNSUpdate& last = list.back();
      if (last.fqdn == fqdn && last.zone == zone && last.server == server &&
          last.authoritative == authoritative) {
        last.addresses.push_back(address);
        return;
      }
    }
    CDDNSUpdate update;
    update.server = server;
    update.fqdn = fqdn;
    update.zone = zone;
    update.authoritative = authoritative;
    update.addresses.push_back(address);
    list.push_back(std::move(update));
  };
  append(forward, forwardZone);
  append(reverse, reverseZone);
}
