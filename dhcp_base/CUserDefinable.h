#pragma once
// Whether a policy may set an option.

#include <cstdint>
#include <string_view>

class CUserDefinable {
 public:
  enum value_type : std::uint8_t { allowed = 0, required = 1, disallowed = 2 };

  CUserDefinable() = default;
  CUserDefinable(value_type v) : m_value(v) {}  // NOLINT: implicit by design

  // The names, plus "true" (allowed) and "false" (disallowed), any case.
  void set(std::string_view text);
  value_type get() const { return m_value; }
  operator value_type() const { return m_value; }  // NOLINT: implicit by design
  const char* string() const;

 private:
  value_type m_value = disallowed;
};
