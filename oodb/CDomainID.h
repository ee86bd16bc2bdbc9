#pragma once
// The identity of a security domain: a signed number and a domain type.
// Identities are ordered and compared by the number alone.

#include <cstdint>
#include <string>

class CDomainID {
 public:
  enum Reserved : std::int32_t { unknown = -1, superUsers = 0, allUsers = 1 };

  // Implicit so that a plain number names a domain (token[5]).
  CDomainID(std::int32_t id = unknown, std::int32_t domainType = 0)  // NOLINT
      : m_id(id), m_type(domainType) {}

  std::int32_t id() const { return m_id; }
  std::int32_t domainType() const { return m_type; }
  void domainType(std::int32_t type) { m_type = type; }

  std::string string() const { return std::to_string(m_id); }
  // "Administrators" for the super-users domain, "Observers" for the
  // all-users domain, empty text for any other.
  std::string name() const { return reservedName(m_id); }
  static std::string reservedName(std::int32_t id);

  friend bool operator==(const CDomainID& a, const CDomainID& b) { return a.m_id == b.m_id; }
  friend bool operator!=(const CDomainID& a, const CDomainID& b) { return a.m_id != b.m_id; }
  friend bool operator<(const CDomainID& a, const CDomainID& b) { return a.m_id < b.m_id; }
  friend bool operator>(const CDomainID& a, const CDomainID& b) { return a.m_id > b.m_id; }
  friend bool operator<=(const CDomainID& a, const CDomainID& b) { return a.m_id <= b.m_id; }
  friend bool operator>=(const CDomainID& a, const CDomainID& b) { return a.m_id >= b.m_id; }

 private:
  std::int32_t m_id;
  std::int32_t m_type;
};
