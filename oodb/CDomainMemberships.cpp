#include "oodb/CDomainMemberships.h"

void CDomainMemberships::add(const CDomainID& d) {
  m_loaded = true;
  m_dirty = m_domains.insert(d).second || m_dirty;
}

void CDomainMemberships::remove(const CDomainID& d) {
  m_loaded = true;
  m_dirty = m_domains.erase(d) != 0 || m_dirty;
}

void CDomainMemberships::assign(Set domains) {
  m_loaded = true;
  if (domains != m_domains) m_dirty = true;
  m_domains = std::move(domains);
}

void CDomainMemberships::assignFromIntersect(const CDomainMemberships& other,
                                             const CDeviceAccessToken& token) {
  Set out;
  for (const auto& d : other.m_domains)
    if (token.domainRights().count(d)) out.insert(d);
  assign(std::move(out));
}

CAccessRights CDomainMemberships::rightsOf(const CAccessToken& token) const {
  CAccessRights rights;
  const auto* device = dynamic_cast<const CDeviceAccessToken*>(&token);
  for (const auto& d : m_domains) {
    if (!token.hasDomain(d)) continue;
    // A plain token lists the domains it may see: reading is what it grants.
    rights |= device ? (*device)[d] : CAccessRights(CAccessRights::read);
  }
  return rights;
}

std::string CDomainMemberships::string() const {
  std::string out;
  for (const auto& d : m_domains) out += (out.empty() ? "" : ",") + d.string();
  return out;
}

void CDomainMemberships::_loaded(Set domains) {
  m_domains = std::move(domains);
  m_clone = m_domains;
  m_loaded = true;
  m_dirty = false;
}

void CDomainMemberships::_rollbackFromClone() {
  m_domains = m_clone;
  m_dirty = false;
}
