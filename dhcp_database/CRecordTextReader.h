#pragma once
// Reads the keys of a record's text form (a key/value map) for _set: typed
// values, and the failure every record raises, its summary with a detail.
// Values that do not convert fail with the detail "Invalid value '%2' for
// key '%1'.".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "oodb/CDomainMemberships.h"
#include "standard/CException.h"
#include "standard/CIPAddress.h"
#include "standard/CMessage.h"
#include "standard/CStringMap.h"
#include "standard/CTimeT.h"
#include "standard/StringUtil.h"

class CRecordTextReader {
 public:
  CRecordTextReader(const nuv::CStringMap& map, const char* context, const char* summary)
      : m_map(map), m_context(context), m_summary(summary) {}

  // Lines "key = value" to a map (keys in any case); repeated "option"
  // lines are gathered, one per line, under "options".
  static nuv::CStringMap parse(std::string_view text);

  const nuv::CStringMap& map() const { return m_map; }
  bool has(const char* key) const { return m_map.getp(key) != nullptr; }
  const std::string* get(const char* key) const { return m_map.getp(key); }
  // The first of the keys present (a key with an alias), or null.
  const std::string* get(const char* key, const char* alias) const;

  std::optional<std::uint32_t> u32(const char* key) const;
  std::optional<std::int32_t> i32(const char* key) const;
  std::optional<bool> boolean(const char* key) const;
  std::optional<nuv::CTimeT> time(const char* key) const;
  // A small named value (CIAType, CDHCPTIDType): its name, or its number.
  template <class V>
  std::optional<V> named(const char* key) const {
    const std::string* v = m_map.getp(key);
    if (!v) return std::nullopt;
    try {
      V out;
      if (auto n = _number(*v))
        out = V(static_cast<std::uint8_t>(*n));
      else
        out = std::string_view(nuv::trim(*v));
      return out;
    } catch (const nuv::CException&) {
      invalid(key);
    }
  }
  // A name: trimmed, never empty.
  std::optional<std::string> name(const char* key) const;
  // A value that may be an expression: "[..." must end with "]".
  std::optional<std::string> expression(const char* key) const;
  // A number of seconds or "infinite".
  std::optional<std::uint32_t> lifetime(const char* key) const;
  // An address of the family (6 or 4); anything else fails with badType.
  static std::optional<nuv::CIPAddress> address(std::string_view text, int family);

  // "domains" (replaces), "domains+" and "domains-" (add and remove),
  // applied to the current set; nothing when none is given.
  std::optional<CDomainMemberships::Set> domains(const CDomainMemberships::Set& current) const;

  [[noreturn]] void fail(const nuv::CMessage& detail) const;
  [[noreturn]] void fail(const char* detail) const { fail(nuv::CMessage(detail)); }
  [[noreturn]] void invalid(const char* key) const;

 private:
  template <class T>
  std::optional<T> _typed(const char* key) const;
  // A decimal number below 256, or nothing.
  static std::optional<unsigned> _number(std::string_view text);

  const nuv::CStringMap& m_map;
  const char* m_context;
  const char* m_summary;
};
