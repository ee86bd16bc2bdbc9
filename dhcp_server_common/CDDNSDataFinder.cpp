#include "dhcp_server_common/CDDNSDataFinder.h"

#include "dhcp_base/CDNSNameIO.h"
#include "dhcp_base/CValueTypeConverter.h"
#include "dhcp_server_common/CIDHCPContext.h"
#include "extended/CIDHCPController.h"
#include "standard/CException.h"
#include "standard/CMessage.h"

namespace {

// Time to live of the records when the policies set none.
constexpr std::uint32_t kDefaultTTL = 3600;

// The code of a setting by family; anything but 4 or 6 cannot be resolved.
std::uint32_t tag(const CIDHCPContext& context, std::uint32_t v6, std::uint32_t v4,
                  const char* what) {
  switch (context.family().value()) {
    case 6:
      return v6;
    case 4:
      return v4;
    default:
      NUV_THROW("CDDNSDataFinder::tag", nuv::CMessage(what),
                nuv::CMessage("Unknown protocol family."));
  }
}

// Names are handed on without the root's trailing dot.
std::string relative(const std::string& name) {
  return std::string(CDNSNameIO::withoutRootDot(name));
}

}  // namespace

std::uint32_t CDDNSDataFinder::updateServerTag(const CIDHCPContext& c) {
  return tag(c, 100006, 1019, "Cannot resolve update server tag.");
}
std::uint32_t CDDNSDataFinder::forwardZoneTag(const CIDHCPContext& c) {
  return tag(c, 100007, 1020, "Cannot resolve forward update zone tag.");
}
std::uint32_t CDDNSDataFinder::reverseZoneTag(const CIDHCPContext& c) {
  return tag(c, 100008, 1021, "Cannot resolve reverse update zone tag.");
}
std::uint32_t CDDNSDataFinder::ttlTag(const CIDHCPContext& c) {
  return tag(c, 100009, 1022, "Cannot resolve rr ttl tag.");
}
std::uint32_t CDDNSDataFinder::modeTag(const CIDHCPContext& c) {
  // The DHCPv4 server keeps the mode under the same private code.
  return tag(c, 100010, 100010, "Cannot resolve ddns update mode tag.");
}
std::uint32_t CDDNSDataFinder::hostNameTag(const CIDHCPContext& c) {
  return tag(c, 100011, 1028, "Cannot resolve host name tag.");
}
std::uint32_t CDDNSDataFinder::authoritativeTag(const CIDHCPContext& c) {
  return tag(c, 100012, 1024, "Cannot resolve authoritative tag.");
}
std::uint32_t CDDNSDataFinder::fqdnFlagsTag(const CIDHCPContext& c) {
  return tag(c, 1, 1, "Cannot resolve fqdn flags tag.");
}
std::uint32_t CDDNSDataFinder::fqdnDomainTag(const CIDHCPContext& c) {
  return tag(c, 2, 4, "Cannot resolve fqdn domain tag.");
}

CDDNSDataFinder::CDDNSDataFinder(CIDHCPContext& context, COptionPtr policyOptions)
    : m_context(context), m_policyOptions(std::move(policyOptions)) {}

bool CDDNSDataFinder::forwardUpdateData(std::uint8_t mode, const COptionPtr& fqdn,
                                        std::string& name, std::string& zone, std::uint32_t& ttl,
                                        nuv::CEndpoint& server, bool& authoritative) const {
  return _updateData(UpdateType::forward, mode, fqdn, name, zone, ttl, server, authoritative);
}

bool CDDNSDataFinder::reverseUpdateData(std::uint8_t mode, const COptionPtr& fqdn,
                                        std::string& name, std::string& zone, std::uint32_t& ttl,
                                        nuv::CEndpoint& server, bool& authoritative) const {
  return _updateData(UpdateType::reverse, mode, fqdn, name, zone, ttl, server, authoritative);
}

void CDDNSDataFinder::setSFlag(std::uint8_t& flags, bool value) {
  if (sFlagSet(flags) != value) flags |= kOFlag;
  if (value)
    flags |= kSFlag;
  else
    flags &= static_cast<std::uint8_t>(~kSFlag);
}

void CDDNSDataFinder::setNFlag(const CIDHCPContext& context, std::uint8_t& flags, bool value) {
  std::uint8_t bit = 0;
  switch (context.family().value()) {
    case 6:
      bit = kNFlag6;
      break;
    case 4:
      bit = kNFlag4;
      break;
    default:
      NUV_THROW("CDDNSDataFinder::setNFlag", nuv::CMessage("Cannot set ddns 'n' flag."),
                nuv::CMessage("Unknown protocol family."));
  }
  if (value)
    flags |= bit;
  else
    flags &= static_cast<std::uint8_t>(~bit);
}

bool CDDNSDataFinder::_updateData(UpdateType type, std::uint8_t mode, const COptionPtr& fqdn,
                                  std::string& name, std::string& zone, std::uint32_t& ttl,
                                  nuv::CEndpoint& server, bool& authoritative) const {
  if (const COptionPtr s = _setting(updateServerTag(m_context))) {
    server = CValueTypeConverter::endpoint(*s, 0);
    if (server.port() == 0) server.setPort(kDNSPort);
  }
  const COptionPtr a = _setting(authoritativeTag(m_context));
  authoritative = a && CValueTypeConverter::boolean(*a, 0);
  const COptionPtr t = _setting(ttlTag(m_context));
  ttl = t ? CValueTypeConverter::uint32(*t, 0) : kDefaultTTL;

  switch (mode) {
    case none:
      return false;
    case clientFQDN:
      return _clientFQDNData(type, fqdn, name, zone);
    case generated:
      return _generatedData(type, name, zone);
    default: {
      const char* text = type == UpdateType::forward
                             ? "Cannot perform forward (A/AAAA) DDNS update. Unknown DDNS "
                               "update mode '%1'."
                             : "Cannot perform reverse (PTR) DDNS update. Unknown DDNS update "
                               "mode '%1'.";
      m_context.controller()->log().log(nuv::sev_error,
                                        nuv::CMessage(text).push(static_cast<unsigned>(mode)));
      return false;
    }
  }
}

bool CDDNSDataFinder::_clientFQDNData(UpdateType type, const COptionPtr& fqdn, std::string& name,
                                      std::string& zone) const {
  if (type == UpdateType::forward) {
    COptionPtr flags;
    if (!fqdn || !fqdn->find(CTagPath{fqdnFlagsTag(m_context)}, flags) || flags->count() == 0 ||
        !sFlagSet(CValueTypeConverter::uint8(*flags, 0)))
      return false;
  }
  COptionPtr domain;
  std::string client;
  if (fqdn && fqdn->find(CTagPath{fqdnDomainTag(m_context)}, domain) && domain->count() != 0)
    client = relative(CValueTypeConverter::string(*domain, 0));
  if (client.empty()) {
    _log(nuv::sev_debug,
         "Cannot perform DDNS update using client FQDN. The client has not provided a host "
         "name.");
    return false;
  }
  const std::size_t dot = CDNSNameIO::labelEnd(client);
  name = client.substr(0, dot);
  if (type == UpdateType::forward) {
    zone = dot == std::string::npos ? std::string() : client.substr(dot + 1);
    if (zone.empty()) zone = text(m_policyOptions, forwardZoneTag(m_context));
    if (zone.empty()) {
      _log(nuv::sev_info,
           "Cannot perform forward (A/AAAA) DDNS update. Client supplied a host name only, and "
           "no forward update zone option is defined.");
      return false;
    }
    return true;
  }
  zone = text(m_policyOptions, reverseZoneTag(m_context));
  if (zone.empty()) {
    _log(nuv::sev_info,
         "Cannot perform reverse (PTR) DDNS update. No reverse update zone option is defined.");
    return false;
  }
  return true;
}

bool CDDNSDataFinder::_generatedData(UpdateType type, std::string& name, std::string& zone) const {
  name = text(m_policyOptions, hostNameTag(m_context));
  if (name.empty()) {
    _log(nuv::sev_info, "Cannot perform autogen DDNS update. No hostname option is defined.");
    return false;
  }
  if (type == UpdateType::forward) {
    zone = text(m_policyOptions, forwardZoneTag(m_context));
    if (zone.empty()) {
      _log(nuv::sev_info,
           "Cannot perform autogen DDNS update. No forward update zone option is defined.");
      return false;
    }
    return true;
  }
  zone = text(m_policyOptions, reverseZoneTag(m_context));
  if (zone.empty()) {
    _log(nuv::sev_info,
         "Cannot perform autogen DDNS update. No reverse update zone option is defined.");
    return false;
  }
  return true;
}

COptionPtr CDDNSDataFinder::_setting(std::uint32_t code) const {
  COptionPtr option;
  if (!m_policyOptions || !m_policyOptions->find(CTagPath{code}, option) || option->count() == 0)
    return nullptr;
  return option;
}

std::string CDDNSDataFinder::text(const COptionPtr& options, std::uint32_t code) {
  COptionPtr option;
  if (!options || !options->find(CTagPath{code}, option) || option->count() == 0) return {};
  return relative(CValueTypeConverter::string(*option, 0));
}

void CDDNSDataFinder::_log(unsigned severity, const char* text) const {
  CLogSink& log = m_context.controller()->log();
  if (severity == nuv::sev_debug && !log.debugEnabled()) return;
  log.log(severity, nuv::CMessage(text));
}
