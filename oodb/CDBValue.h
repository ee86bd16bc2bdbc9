#pragma once
// One column value as it travels between a record and a database: null,
// a 64-bit integer, a floating-point number or a text. Drivers that deliver
// every value as text (PostgreSQL) are read through the same accessors,
// which convert on demand.

#include <cstdint>
#include <string>

class CDBValue {
 public:
  enum Kind : std::uint8_t { null, integer, real, text };

  CDBValue() = default;
  static CDBValue ofInt(std::int64_t v) {
    CDBValue d;
    d.m_kind = integer;
    d.m_int = v;
    return d;
  }
  static CDBValue ofReal(double v) {
    CDBValue d;
    d.m_kind = real;
    d.m_real = v;
    return d;
  }
  static CDBValue ofText(std::string v) {
    CDBValue d;
    d.m_kind = text;
    d.m_text = std::move(v);
    return d;
  }

  Kind kind() const { return m_kind; }
  bool isNull() const { return m_kind == null; }
  // Null reads as 0; a text that is not a number throws.
  std::int64_t asInt64() const;
  double asDouble() const;
  // Null reads as the empty text; numbers print in decimal.
  std::string asText() const;
  // The text of a text value without a copy; empty for other kinds.
  const std::string& textRef() const { return m_text; }

  friend bool operator==(const CDBValue& a, const CDBValue& b);
  friend bool operator!=(const CDBValue& a, const CDBValue& b) { return !(a == b); }

 private:
  Kind m_kind = null;
  std::int64_t m_int = 0;
  double m_real = 0;
  std::string m_text;
};
