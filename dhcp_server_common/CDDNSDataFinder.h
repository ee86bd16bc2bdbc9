#pragma once
// Decides from a client's merged policy options and its Client FQDN option
// whether its names are to be updated in the DNS, and with which name,
// zone, time to live and DNS server. Also owns the bit rules of the FQDN
// option's flags byte. Nothing here fails a message: what cannot be
// updated is logged to the process log and answered false.
//
// Settings are private option codes of the policy sets; the DHCPv4 server
// reads the same settings under its own codes.

#include <cstdint>
#include <string>

#include "dhcp_base/COption.h"
#include "standard/CEndpoint.h"

class CIDHCPContext;

class CDDNSDataFinder {
 public:
  enum class UpdateType { reverse = 0, forward = 1 };
  // The DDNS update mode (policy option 100010 for DHCPv6).
  enum Mode : std::uint8_t { none = 0, clientFQDN = 1, generated = 2 };
  // Flag bits of the DHCPv6 Client FQDN option; DHCPv4 puts N at 0x08.
  static constexpr std::uint8_t kSFlag = 0x01;
  static constexpr std::uint8_t kOFlag = 0x02;
  static constexpr std::uint8_t kNFlag6 = 0x04;
  static constexpr std::uint8_t kNFlag4 = 0x08;
  static constexpr std::uint16_t kDNSPort = 53;

  CDDNSDataFinder(CIDHCPContext& context, COptionPtr policyOptions);

  // True when the AAAA (A) records are to be updated: name is the host
  // label, zone the zone it lives in. fqdn is the client's Client FQDN
  // option (may be null).
  bool forwardUpdateData(std::uint8_t mode, const COptionPtr& fqdn, std::string& name,
                         std::string& zone, std::uint32_t& ttl, nuv::CEndpoint& server,
                         bool& authoritative) const;
  // True when the PTR records are to be updated, in the reverse zone.
  bool reverseUpdateData(std::uint8_t mode, const COptionPtr& fqdn, std::string& name,
                         std::string& zone, std::uint32_t& ttl, nuv::CEndpoint& server,
                         bool& authoritative) const;

  // The first value of the option code in options as a name or text,
  // without the root's trailing dot; empty when it is absent.
  static std::string text(const COptionPtr& options, std::uint32_t code);

  static bool sFlagSet(std::uint8_t flags) { return (flags & kSFlag) != 0; }
  // Sets S to value; when that changes the client's choice, O tells it so.
  static void setSFlag(std::uint8_t& flags, bool value);
  static void setNFlag(const CIDHCPContext& context, std::uint8_t& flags, bool value);

  // Option codes of the settings and of the Client FQDN option's parts for
  // the context's family.
  static std::uint32_t updateServerTag(const CIDHCPContext& context);
  static std::uint32_t forwardZoneTag(const CIDHCPContext& context);
  static std::uint32_t reverseZoneTag(const CIDHCPContext& context);
  static std::uint32_t ttlTag(const CIDHCPContext& context);
  static std::uint32_t modeTag(const CIDHCPContext& context);
  static std::uint32_t hostNameTag(const CIDHCPContext& context);
  static std::uint32_t authoritativeTag(const CIDHCPContext& context);
  static std::uint32_t fqdnFlagsTag(const CIDHCPContext& context);
  static std::uint32_t fqdnDomainTag(const CIDHCPContext& context);

 private:
  bool _updateData(UpdateType type, std::uint8_t mode, const COptionPtr& fqdn, std::string& name,
                   std::string& zone, std::uint32_t& ttl, nuv::CEndpoint& server,
                   bool& authoritative) const;
  bool _clientFQDNData(UpdateType type, const COptionPtr& fqdn, std::string& name,
                       std::string& zone) const;
  bool _generatedData(UpdateType type, std::string& name, std::string& zone) const;
  COptionPtr _setting(std::uint32_t code) const;
  void _log(unsigned severity, const char* text) const;

  CIDHCPContext& m_context;
  COptionPtr m_policyOptions;
};
