#include "oodb/CPersistentSecuredObject.h"

#include "oodb/CIPrstSession.h"

const CDomainMemberships& CPersistentSecuredObject::domainMemberships() const {
  if (!m_memberships.loaded()) {
    CIPrstSession* s = session();
    m_memberships._loaded(s && !isTransient() ? s->loadMemberships(*this)
                                              : CDomainMemberships::Set{});
  }
  return m_memberships;
}

CDomainMemberships& CPersistentSecuredObject::domainMemberships() {
  static_cast<const CPersistentSecuredObject*>(this)->domainMemberships();
  return m_memberships;
}

std::string CPersistentSecuredObject::string() const {
  return CFirstClassObject::string() + "\ndomains = " + domainMemberships().string();
}
