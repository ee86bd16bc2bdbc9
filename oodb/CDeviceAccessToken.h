#pragma once
// The access token of a device (a DHCP client): its rights per security
// domain. The inherited domain set always equals the domains of the map.

#include <map>
#include <string>
#include <string_view>

#include "oodb/CAccessRights.h"
#include "oodb/CAccessToken.h"

class CDeviceAccessToken : public CAccessToken {
 public:
  using RightsMap = std::map<CDomainID, CAccessRights>;

  CDeviceAccessToken() = default;
  explicit CDeviceAccessToken(RightsMap rights);
  CDeviceAccessToken(const CDomainID& domain, CAccessRights rights);

  // Tokens are never built from text; always throws.
  [[noreturn]] static CDeviceAccessToken parse(std::string_view text);

  // Adds the rights to the domain's entry, creating it when missing.
  void grantAccess(const CDomainID& domain, CAccessRights rights);
  // Removes the domain's entry, if any.
  void revokeAccess(const CDomainID& domain);
  // Removes rights from the domain's entry; an entry left with no right is
  // removed, so the token no longer sees that domain. A domain without an
  // entry throws.
  void revokeAccess(const CDomainID& domain, CAccessRights rights);

  // The rights held in a domain; a domain without an entry throws.
  CAccessRights operator[](const CDomainID& domain) const;

  const RightsMap& domainRights() const { return m_rights; }
  void domainRights(RightsMap rights);
  void clear();

  // "[domain_rights=" then "<domain>:<rights>" per entry in ascending domain
  // order, separated by ";", then "]": "[domain_rights=2:read,write;5:read]".
  std::string string() const override;

  friend bool operator==(const CDeviceAccessToken& a, const CDeviceAccessToken& b) {
    return a.m_rights == b.m_rights;
  }
  friend bool operator!=(const CDeviceAccessToken& a, const CDeviceAccessToken& b) {
    return !(a == b);
  }

 private:
  void _rebuildDomains();
  // Throws "No such entry." when the domain has no entry; what names it as %1.
  void _requireEntry(const CDomainID& domain, const char* context, const char* what) const;

  RightsMap m_rights;
};
