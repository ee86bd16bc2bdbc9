#include "oodb/CDeviceAccessToken.h"

#include "oodb/SecurityFailure.h"

CDeviceAccessToken::CDeviceAccessToken(RightsMap rights) : m_rights(std::move(rights)) {
  _rebuildDomains();
}

CDeviceAccessToken::CDeviceAccessToken(const CDomainID& domain, CAccessRights rights) {
  grantAccess(domain, rights);
}

CDeviceAccessToken CDeviceAccessToken::parse(std::string_view) {
  OODB_THROW_SECURITY("CDeviceAccessToken::parse",
                      nuv::CMessage("Cannot de-serialize a security access token from text."),
                      nuv::CMessage("Unsupported operation."));
}

void CDeviceAccessToken::grantAccess(const CDomainID& domain, CAccessRights rights) {
  m_rights[domain] |= rights;
  _rebuildDomains();
}

void CDeviceAccessToken::revokeAccess(const CDomainID& domain) {
  m_rights.erase(domain);
  _rebuildDomains();
}

void CDeviceAccessToken::revokeAccess(const CDomainID& domain, CAccessRights rights) {
  _requireEntry(domain, "CDeviceAccessToken::revokeAccess",
                "Unable to revoke access for domain ID %1.");
  // A domain seen without any right would still let "dom" queries return its
  // objects; dropping the entry keeps visibility and rights together.
  const auto it = m_rights.find(domain);
  if (it->second.remove(rights).has(CAccessRights::none)) m_rights.erase(it);
  _rebuildDomains();
}

CAccessRights CDeviceAccessToken::operator[](const CDomainID& domain) const {
  _requireEntry(domain, "CDeviceAccessToken::operator[]",
                "Unable to find access rights for domain ID %1.");
  return m_rights.find(domain)->second;
}

void CDeviceAccessToken::domainRights(RightsMap rights) {
  m_rights = std::move(rights);
  _rebuildDomains();
}

void CDeviceAccessToken::clear() {
  m_rights.clear();
  _rebuildDomains();
}

std::string CDeviceAccessToken::string() const {
  std::string out = "[domain_rights=";
  const char* sep = "";
  for (const auto& [domain, rights] : m_rights) {
    out += sep;
    out += domain.string();
    out += ':';
    out += rights.string();
    sep = ";";
  }
  return out + "]";
}

void CDeviceAccessToken::_rebuildDomains() {
  DomainSet& domains = _domains();
  domains.clear();
  for (const auto& entry : m_rights) domains.insert(domains.end(), entry.first);
}

void CDeviceAccessToken::_requireEntry(const CDomainID& domain, const char* context,
                                       const char* what) const {
  if (m_rights.count(domain) == 0)
    OODB_THROW_SECURITY(context, nuv::CMessage(what).push(domain.id()),
                        nuv::CMessage("No such entry."));
}
