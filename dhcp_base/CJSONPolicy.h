#pragma once
// How much of the option data a context renders as JSON.

#include <cstdint>
#include <string_view>

class CJSONPolicy {
 public:
  enum value_type : std::uint8_t { none = 0, options = 1, all = 2 };

  CJSONPolicy() = default;
  CJSONPolicy(value_type v) : m_value(v) {}  // NOLINT: implicit by design
  // "none", "options" or "all" (any case); throws "Cannot set json policy."
  void set(std::string_view text);
  value_type get() const { return m_value; }
  operator value_type() const { return m_value; }  // NOLINT: implicit by design
  const char* string() const;

 private:
  value_type m_value = none;
};
