#pragma once
// What a query made on someone's behalf may see: the security domains of
// the bearer. Queries whose statements filter by domain take this set; the
// derived tokens add the rights held in each domain.

#include <set>
#include <string>

#include "oodb/CDomainID.h"

class CAccessToken {
 public:
  using DomainSet = std::set<CDomainID>;

  CAccessToken() = default;
  CAccessToken(const CAccessToken&) = default;
  CAccessToken& operator=(const CAccessToken&) = default;
  virtual ~CAccessToken() = default;

  const DomainSet& domains() const { return m_domains; }
  bool hasDomain(const CDomainID& domain) const { return m_domains.count(domain) != 0; }

  // Only the derived tokens have a text form; the base throws.
  virtual std::string string() const;

 protected:
  DomainSet& _domains() { return m_domains; }

 private:
  DomainSet m_domains;
};
