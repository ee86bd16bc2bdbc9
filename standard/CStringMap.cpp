#include "standard/CStringMap.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace nuv {

bool CStringMap::KeyLess::operator()(const std::string& a, const std::string& b) const {
  if (caseSensitive) return a < b;
  // Upper-cased comparison: '_' sorts before letters, as key registries expect.
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = std::toupper(static_cast<unsigned char>(a[i]));
    const int cb = std::toupper(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb;
  }
  return a.size() < b.size();
}

std::string CStringMap::get(const std::string& key, const std::string& def) const {
  const auto it = m_map.find(key);
  return it == m_map.end() ? def : it->second;
}

const std::string* CStringMap::getp(const std::string& key) const {
  const auto it = m_map.find(key);
  return it == m_map.end() ? nullptr : &it->second;
}

namespace {

[[noreturn]] void badValue(const std::string& key, const std::string& value, const char* kind) {
  NUV_THROW("CStringMap::get", CMessage("Cannot read value of key '%1'.").pushs(key),
            CMessage("Value '%1' is not %2.").pushs(value).pushs(kind));
}

// Decimal, 0x hexadecimal or 0 octal, the whole text, no overflow.
template <class T>
T parseNumber(const std::string& key, const std::string& raw, const char* kind) {
  const std::string value = trim(raw);
  if (value.empty()) badValue(key, raw, kind);
  errno = 0;
  char* end = nullptr;
  T out;
  if constexpr (std::is_signed_v<T>) {
    const long long v = std::strtoll(value.c_str(), &end, 0);
    if (errno || *end || v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
      badValue(key, raw, kind);
    out = static_cast<T>(v);
  } else {
    if (value[0] == '-') badValue(key, raw, kind);
    const unsigned long long v = std::strtoull(value.c_str(), &end, 0);
    if (errno || *end || v > std::numeric_limits<T>::max()) badValue(key, raw, kind);
    out = static_cast<T>(v);
  }
  return out;
}

}  // namespace

std::int32_t CStringMap::get_int32(const std::string& key, std::int32_t def) const {
  const std::string* v = getp(key);
  return v ? parseNumber<std::int32_t>(key, *v, "an integer") : def;
}

std::uint32_t CStringMap::get_uint32(const std::string& key, std::uint32_t def) const {
  const std::string* v = getp(key);
  return v ? parseNumber<std::uint32_t>(key, *v, "an unsigned integer") : def;
}

std::int64_t CStringMap::get_int64(const std::string& key, std::int64_t def) const {
  const std::string* v = getp(key);
  return v ? parseNumber<std::int64_t>(key, *v, "an integer") : def;
}

std::uint64_t CStringMap::get_uint64(const std::string& key, std::uint64_t def) const {
  const std::string* v = getp(key);
  return v ? parseNumber<std::uint64_t>(key, *v, "an unsigned integer") : def;
}

bool CStringMap::get_bool(const std::string& key, bool def) const {
  const std::string* v = getp(key);
  if (!v) return def;
  const std::string t = toLower(trim(*v));
  if (t == "true" || t == "yes" || t == "on" || t == "1") return true;
  if (t == "false" || t == "no" || t == "off" || t == "0") return false;
  badValue(key, *v, "a boolean");
}

}  // namespace nuv
