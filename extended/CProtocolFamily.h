#pragma once
// The IP protocol family a server instance works for, kept in one byte.
// Only 4 and 6 exist; this server always uses 6.

#include <cstdint>

class CProtocolFamily {
 public:
  CProtocolFamily() = default;
  // Implicit so that key accessors read as engineThreadCount(6). Anything
  // but 4 or 6 throws.
  CProtocolFamily(unsigned family) : m_value(static_cast<std::uint8_t>(family)) {  // NOLINT
    if (family != 4 && family != 6) _invalid(family);
  }

  std::uint8_t value() const { return m_value; }
  bool operator==(CProtocolFamily other) const { return m_value == other.m_value; }
  bool operator!=(CProtocolFamily other) const { return m_value != other.m_value; }

 private:
  [[noreturn]] static void _invalid(unsigned family);

  std::uint8_t m_value = 6;
};
