#pragma once
// The rights a token holds in one security domain: a set of four bits.

#include <string>
#include <string_view>

class CAccessRights {
 public:
  enum Right : unsigned { none = 0, read = 1, write = 2, execute = 4, create = 8, all = 15 };

  // Implicit so that a Right or an OR of them is a set of rights. Bits
  // outside the four rights are dropped.
  CAccessRights(unsigned bits = none) : m_bits(bits & all) {}  // NOLINT

  // Names separated by ",", blanks around them allowed, any case: "read",
  // "write", "execute", "create", "none" (no bit) and "all" (every bit).
  static CAccessRights parse(std::string_view text);

  unsigned bits() const { return m_bits; }
  // For none: true when no bit is set. Otherwise: every bit of the right is set.
  bool has(CAccessRights right) const {
    return right.m_bits == none ? m_bits == none : (m_bits & right.m_bits) == right.m_bits;
  }

  CAccessRights& set(CAccessRights rights) { return *this |= rights; }
  CAccessRights& append(CAccessRights rights) { return *this |= rights; }
  CAccessRights& remove(CAccessRights rights) {
    m_bits &= ~rights.m_bits;
    return *this;
  }
  CAccessRights& clear(CAccessRights rights) { return remove(rights); }
  CAccessRights& clear() {
    m_bits = none;
    return *this;
  }
  CAccessRights& operator|=(CAccessRights rights) {
    m_bits |= rights.m_bits;
    return *this;
  }
  CAccessRights& operator&=(CAccessRights rights) {
    m_bits &= rights.m_bits;
    return *this;
  }
  friend CAccessRights operator|(CAccessRights a, CAccessRights b) { return a |= b; }
  friend CAccessRights operator&(CAccessRights a, CAccessRights b) { return a &= b; }
  friend bool operator==(CAccessRights a, CAccessRights b) { return a.m_bits == b.m_bits; }
  friend bool operator!=(CAccessRights a, CAccessRights b) { return a.m_bits != b.m_bits; }

  // The names of the set rights in the order read, write, execute, create,
  // joined by "," without blanks; "none" when no bit is set.
  std::string string() const;

 private:
  unsigned m_bits;
};
