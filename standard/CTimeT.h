#pragma once
// A point in time (or a span) in whole seconds since the epoch, the value
// time() returns. Arithmetic that would overflow throws instead of wrapping.
//
// Text forms, all UTC:
// - string():  "YYYY-MM-DD HH:MM:SS"           e.g. "2024-02-29 13:05:09"
// - isoUTC():  "YYYY-MM-DDTHH:MM:SSZ"          e.g. "2024-02-29T13:05:09Z"
// - dateUTC(): asctime's form without newline  e.g. "Thu Feb 29 13:05:09 2024"
// parse() accepts each of these and a plain decimal number of seconds
// (optionally signed, e.g. "1700000000" or "-60"). Leading and trailing
// blanks are ignored. Formatting supports the years 0 to 9999.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace nuv {

class CTimeT {
 public:
  CTimeT() = default;
  explicit CTimeT(std::time_t seconds) : m_t(seconds) {}

  static CTimeT now() { return CTimeT(std::time(nullptr)); }
  // Throws when the text is none of the forms above or out of range.
  static CTimeT parse(std::string_view text);
  // The same without raising: nothing when parse() would throw.
  static std::optional<CTimeT> fromText(std::string_view text);

  void set_now() { m_t = std::time(nullptr); }
  void set(std::time_t seconds) { m_t = seconds; }
  std::time_t get() const { return m_t; }
  std::time_t seconds() const { return m_t; }

  std::string dateUTC() const;
  std::string isoUTC() const;
  std::string string() const;

  CTimeT& operator+=(const CTimeT& other) { return *this += other.m_t; }
  CTimeT& operator-=(const CTimeT& other) { return *this -= other.m_t; }
  CTimeT& operator*=(const CTimeT& other) { return *this *= other.m_t; }
  CTimeT& operator/=(const CTimeT& other) { return *this /= other.m_t; }
  CTimeT& operator+=(std::time_t n);
  CTimeT& operator-=(std::time_t n);
  CTimeT& operator*=(std::time_t n);
  // Throws on division by zero.
  CTimeT& operator/=(std::time_t n);

  CTimeT operator+(const CTimeT& other) const { return CTimeT(*this) += other; }
  CTimeT operator-(const CTimeT& other) const { return CTimeT(*this) -= other; }
  CTimeT operator*(const CTimeT& other) const { return CTimeT(*this) *= other; }
  CTimeT operator/(const CTimeT& other) const { return CTimeT(*this) /= other; }
  CTimeT operator+(std::time_t n) const { return CTimeT(*this) += n; }
  CTimeT operator-(std::time_t n) const { return CTimeT(*this) -= n; }
  CTimeT operator*(std::time_t n) const { return CTimeT(*this) *= n; }
  CTimeT operator/(std::time_t n) const { return CTimeT(*this) /= n; }

  bool operator==(const CTimeT& other) const { return m_t == other.m_t; }
  bool operator!=(const CTimeT& other) const { return m_t != other.m_t; }
  bool operator<(const CTimeT& other) const { return m_t < other.m_t; }
  bool operator>(const CTimeT& other) const { return m_t > other.m_t; }
  bool operator<=(const CTimeT& other) const { return m_t <= other.m_t; }
  bool operator>=(const CTimeT& other) const { return m_t >= other.m_t; }

 private:
  bool _brokenDown(std::tm& out) const;
  std::string _format(const char* context, const char* pattern) const;

  std::time_t m_t = 0;
};

}  // namespace nuv
