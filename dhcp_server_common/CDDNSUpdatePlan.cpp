#include "dhcp_server_common/CDDNSUpdatePlan.h"

#include "dhcp_base/CDNSNameIO.h"
#include "dhcp_server_common/CDDNSDataFinder.h"
#include "dhcp_server_common/CIDHCPContext.h"
#include "extended/CIDHCPController.h"
#include "standard/CMessage.h"

CDDNSUpdatePlan::CDDNSUpdatePlan(CIDHCPContext& context, const COptionPtr& policyOptions,
                                 std::uint8_t mode, const COptionPtr& fqdn)
    : m_mode(mode) {
  if (fqdn) m_clientName = CDDNSDataFinder::text(fqdn, CDDNSDataFinder::fqdnDomainTag(context));
  const CDDNSDataFinder finder(context, policyOptions);
  std::string forwardName;
  std::string reverseName;
  CDDNSUpdate& f = m_forwardData;
  CDDNSUpdate& r = m_reverseData;
  m_forward =
      finder.forwardUpdateData(mode, fqdn, forwardName, f.zone, f.ttl, f.server, f.authoritative);
  m_reverse =
      finder.reverseUpdateData(mode, fqdn, reverseName, r.zone, r.ttl, r.server, r.authoritative);
  if (!m_forward && !m_reverse) return;
  m_label = m_forward ? forwardName : reverseName;
  // A PTR needs an absolute target even when the AAAA is not ours to add.
  const std::size_t dot = CDNSNameIO::labelEnd(m_clientName);
  if (m_forward)
    m_domain = f.zone;
  else if (mode == CDDNSDataFinder::clientFQDN && dot != std::string::npos)
    m_domain = m_clientName.substr(dot + 1);
  else
    m_domain = CDDNSDataFinder::text(policyOptions, CDDNSDataFinder::forwardZoneTag(context));
  if (m_domain.empty()) {
    context.controller()->log().log(
        nuv::sev_info, nuv::CMessage("Cannot perform reverse (PTR) DDNS update. The client's "
                                     "name is not fully qualified and no forward update zone "
                                     "option is defined."));
    m_reverse = false;
  }
}

std::string CDDNSUpdatePlan::generatedLabel(const std::string& hostName,
                                            const nuv::CIPAddress& address) {
  std::string label = hostName + "-" + address.string();
  for (char& c : label)
    if (c == ':' || c == '.') c = '-';
  return label;
}

std::string CDDNSUpdatePlan::fqdn(const nuv::CIPAddress& address) const {
  if (!m_forward && !m_reverse) return {};
  const std::string label =
      m_mode == CDDNSDataFinder::generated ? generatedLabel(m_label, address) : m_label;
  return label + "." + m_domain;
}

CDDNSLeaseNames CDDNSUpdatePlan::names(const nuv::CIPAddress& address) const {
  CDDNSLeaseNames out;
  if (!m_forward && !m_reverse) return out;
  const CDDNSUpdate& data = m_forward ? m_forwardData : m_reverseData;
  out.fqdn = fqdn(address);
  if (m_forward) out.forwardZone = m_forwardData.zone;
  if (m_reverse) out.reverseZone = m_reverseData.zone;
  out.server = data.server;
  out.authoritative = data.authoritative;
  return out;
}

std::vector<CDDNSUpdate> CDDNSUpdatePlan::updates(const std::vector<nuv::CIPAddress>& addresses,
                                                  bool forward) const {
  std::vector<CDDNSUpdate> out;
  if (!(forward ? m_forward : m_reverse) || addresses.empty()) return out;
  const CDDNSUpdate& data = forward ? m_forwardData : m_reverseData;
  auto add = [&](std::vector<nuv::CIPAddress> list) {
    CDDNSUpdate update = data;
    update.fqdn = fqdn(list.front());
    update.addresses = std::move(list);
    out.push_back(std::move(update));
  };
  if (m_mode == CDDNSDataFinder::generated)
    for (const nuv::CIPAddress& address : addresses) add({address});
  else
    add(addresses);
  return out;
}
