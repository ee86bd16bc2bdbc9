#pragma once
// What the address manager allows on the leases of one pool: a bit set of
// "renew" (existing leases may be extended) and "create" (new ones may be
// made); none of them is "none".

#include <cstdint>
#include <string>

class CLeaseRights {
 public:
  enum Bits : std::uint8_t { none = 0, renew = 1, create = 2 };

  CLeaseRights(std::uint8_t bits = none) : m_bits(bits) {}  // NOLINT: implicit by design

  std::uint8_t bits() const { return m_bits; }
  bool has(Bits bit) const { return (m_bits & bit) != 0; }
  // "none", or the names of the bits present joined by ",".
  std::string string() const;

  bool operator==(CLeaseRights other) const { return m_bits == other.m_bits; }
  bool operator!=(CLeaseRights other) const { return m_bits != other.m_bits; }

 private:
  std::uint8_t m_bits;
};
