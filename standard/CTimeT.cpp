#include "standard/CTimeT.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace nuv {

namespace {

const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

[[noreturn]] void rangeFailure(const char* context) {
  NUV_THROW(context, CMessage("Cannot calculate with time."), CMessage("Result out of range."));
}

// Days since 1970-01-01 of a proleptic Gregorian date.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

unsigned daysInMonth(long long y, unsigned m) {
  static const unsigned kLen[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kLen[m - 1];
}

// A tiny cursor over the text; every read fails softly so that the caller
// raises one error for any malformed input.
struct Cursor {
  std::string_view s;
  std::size_t pos = 0;
  bool ok = true;

  bool atEnd() const { return pos >= s.size(); }
  void expect(char c) {
    if (ok && pos < s.size() && s[pos] == c)
      ++pos;
    else
      ok = false;
  }
  void skipSpaces() {
    while (pos < s.size() && s[pos] == ' ') ++pos;
  }
  // Between minDigits and maxDigits decimal digits.
  long long number(std::size_t minDigits, std::size_t maxDigits) {
    long long v = 0;
    std::size_t n = 0;
    while (ok && n < maxDigits && pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
      v = v * 10 + (s[pos++] - '0');
      ++n;
    }
    if (n < minDigits) ok = false;
    return v;
  }
  int name(const char* const* names, int count) {
    if (ok && pos + 3 <= s.size())
      for (int i = 0; i < count; ++i)
        if (s.compare(pos, 3, names[i]) == 0) {
          pos += 3;
          return i;
        }
    ok = false;
    return 0;
  }
};

struct Fields {
  long long year = 0;
  long long month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

bool parseClock(Cursor& c, Fields& f) {
  f.hour = c.number(2, 2);
  c.expect(':');
  f.minute = c.number(2, 2);
  c.expect(':');
  f.second = c.number(2, 2);
  return c.ok;
}

// "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DDTHH:MM:SSZ".
bool parseNumeric(std::string_view text, Fields& f) {
  Cursor c{text};
  f.year = c.number(4, 4);
  c.expect('-');
  f.month = c.number(2, 2);
  c.expect('-');
  f.day = c.number(2, 2);
  const bool iso = c.ok && !c.atEnd() && text[c.pos] == 'T';
  c.expect(iso ? 'T' : ' ');
  parseClock(c, f);
  if (iso) c.expect('Z');
  return c.ok && c.atEnd();
}

// "Thu Jan  1 00:00:00 1970"; the weekday is checked for form only.
bool parseAsctime(std::string_view text, Fields& f) {
  Cursor c{text};
  c.name(kDays, 7);
  c.expect(' ');
  f.month = c.name(kMonths, 12) + 1;
  c.expect(' ');
  c.skipSpaces();
  f.day = c.number(1, 2);
  c.expect(' ');
  parseClock(c, f);
  c.expect(' ');
  f.year = c.number(1, 4);
  return c.ok && c.atEnd();
}

bool toSeconds(const Fields& f, std::time_t& out) {
  if (f.month < 1 || f.month > 12 || f.day < 1 ||
      f.day > daysInMonth(f.year, static_cast<unsigned>(f.month)) || f.hour > 23 || f.minute > 59 ||
      f.second > 59)
    return false;
  const long long days =
      daysFromCivil(f.year, static_cast<unsigned>(f.month), static_cast<unsigned>(f.day));
  out = static_cast<std::time_t>(days * 86400 + f.hour * 3600 + f.minute * 60 + f.second);
  return true;
}

}  // namespace

std::optional<CTimeT> CTimeT::fromText(std::string_view input) {
  const std::string text = trim(input);
  const std::size_t sign = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (text.size() > sign && text.find_first_not_of("0123456789", sign) == std::string::npos) {
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    long long v = 0;
    const auto r = std::from_chars(first, text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return CTimeT(static_cast<std::time_t>(v));
  }
  Fields f;
  std::time_t t = 0;
  if ((parseNumeric(text, f) || parseAsctime(text, f)) && toSeconds(f, t)) return CTimeT(t);
  return std::nullopt;
}

CTimeT CTimeT::parse(std::string_view text) {
  const auto parsed = fromText(text);
  if (!parsed)
    NUV_THROW("CTimeT::parse", CMessage("Cannot convert text '%1' to a time.").pushs(text),
              CMessage("Invalid time format."));
  return *parsed;
}

bool CTimeT::_brokenDown(std::tm& out) const {
  if (gmtime_r(&m_t, &out) == nullptr) return false;
  const long long year = out.tm_year + 1900LL;
  return year >= 0 && year <= 9999;
}

std::string CTimeT::dateUTC() const {
  std::tm tmv{};
  if (!_brokenDown(tmv) || tmv.tm_wday < 0 || tmv.tm_wday > 6 || tmv.tm_mon < 0 || tmv.tm_mon > 11)
    NUV_THROW("CTimeT::dateUTC", CMessage("Cannot display time string."),
              CMessage("Invalid time."));
  // asctime's layout, written out here so no static buffer is shared.
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", kDays[tmv.tm_wday],
                kMonths[tmv.tm_mon], tmv.tm_mday, tmv.tm_hour, tmv.tm_min, tmv.tm_sec,
                tmv.tm_year + 1900);
  return buf;
}

std::string CTimeT::_format(const char* context, const char* pattern) const {
  std::tm tmv{};
  if (!_brokenDown(tmv))
    NUV_THROW(context, CMessage("Cannot display time string."), CMessage("Invalid time."));
  char buf[32];
  std::snprintf(buf, sizeof buf, pattern, tmv.tm_year + 1900, tmv.tm_mon + 1, tmv.tm_mday,
                tmv.tm_hour, tmv.tm_min, tmv.tm_sec);
  return buf;
}

std::string CTimeT::isoUTC() const {
  return _format("CTimeT::isoUTC", "%04d-%02d-%02dT%02d:%02d:%02dZ");
}

std::string CTimeT::string() const {
  return _format("CTimeT::string", "%04d-%02d-%02d %02d:%02d:%02d");
}

CTimeT& CTimeT::operator+=(std::time_t n) {
  std::time_t r;
  if (__builtin_add_overflow(m_t, n, &r)) rangeFailure("CTimeT::operator+=");
  m_t = r;
  return *this;
}

CTimeT& CTimeT::operator-=(std::time_t n) {
  std::time_t r;
  if (__builtin_sub_overflow(m_t, n, &r)) rangeFailure("CTimeT::operator-=");
  m_t = r;
  return *this;
}

CTimeT& CTimeT::operator*=(std::time_t n) {
  std::time_t r;
  if (__builtin_mul_overflow(m_t, n, &r)) rangeFailure("CTimeT::operator*=");
  m_t = r;
  return *this;
}

CTimeT& CTimeT::operator/=(std::time_t n) {
  if (n == 0)
    NUV_THROW("CTimeT::operator/=", CMessage("Cannot calculate with time."),
              CMessage("Division by zero."));
  if (n == -1 && m_t == std::numeric_limits<std::time_t>::min()) rangeFailure("CTimeT::operator/=");
  m_t /= n;
  return *this;
}

}  // namespace nuv
