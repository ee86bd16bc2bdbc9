#pragma once
// The security domains a secured object belongs to, with the state the
// object layer needs to write them back only when they changed.

#include <set>
#include <string>

#include "oodb/CDeviceAccessToken.h"

class CDomainMemberships {
 public:
  using Set = std::set<CDomainID>;

  const Set& domains() const { return m_domains; }
  bool has(const CDomainID& d) const { return m_domains.count(d) != 0; }
  void add(const CDomainID& d);
  void remove(const CDomainID& d);
  void assign(Set domains);
  // The domains of other that the token holds rights in.
  void assignFromIntersect(const CDomainMemberships& other, const CDeviceAccessToken& token);
  // The union of the token's rights in these domains.
  CAccessRights rightsOf(const CAccessToken& token) const;
  // Domain identities joined by ",": "2,5".
  std::string string() const;

  // Object-layer state: loaded from the database yet, changed since.
  bool loaded() const { return m_loaded; }
  bool dirty() const { return m_dirty; }
  void _loaded(Set domains);
  void _clean() { m_dirty = false; }
  void _touch() { m_dirty = m_loaded; }
  // Forgets them, so that the next use reads them again.
  void _forget() { *this = CDomainMemberships(); }
  void _commitToClone() { m_clone = m_domains; }
  void _rollbackFromClone();

 private:
  Set m_domains;
  Set m_clone;
  bool m_loaded = false;
  bool m_dirty = false;
};
