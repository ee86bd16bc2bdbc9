#pragma once
// How a value type of a record column is stored and printed:
//   dbType  the column's type token
//   toDB    the value as stored (a canonical form, so that equal values
//           compare equal in SQL and ranges sort right)
//   fromDB  back from a stored value (integers may arrive as text)
//   text    the text form of the record's string()
//   parse   from the text form; throws on a bad text
// Record classes with their own column types (option stores, expressions)
// specialise CPrstValueTraits for them.
//
// Stored forms: integers and booleans as integers (uint64 as its two's
// complement int64), times as seconds since the epoch, IPv6 addresses in
// the full lower-case form "2001:0db8:0000:..." (IPv4 dotted, unset: null),
// byte strings as upper-case hex pairs joined by "-".

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "oodb/CAccessRights.h"
#include "oodb/CDBType.h"
#include "oodb/CDBValue.h"
#include "oodb/CDomainID.h"
#include "standard/CHexStore.h"
#include "standard/CIPAddress.h"
#include "standard/CTimeT.h"

template <class T, class Enable = void>
struct CPrstValueTraits;

namespace prst_detail {
// Decimal text to a number of type T; a 32-bit unsigned target also takes
// the signed form ("-1" is 4294967295), as statement arguments print it.
std::int64_t parseSigned(std::string_view text, std::int64_t min, std::int64_t max);
std::uint64_t parseUnsigned(std::string_view text, std::uint64_t max, bool allowSigned32);
bool parseBool(std::string_view text);
double parseDouble(std::string_view text);
}  // namespace prst_detail

template <class T>
struct CPrstValueTraits<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> {
  static constexpr CDBType dbType = std::is_signed_v<T>
                                        ? (sizeof(T) > 4 ? CDBType::int64 : CDBType::int32)
                                        : (sizeof(T) > 4 ? CDBType::uint64 : CDBType::uint32);
  static CDBValue toDB(T v) { return CDBValue::ofInt(static_cast<std::int64_t>(v)); }
  static T fromDB(const CDBValue& v) { return static_cast<T>(v.asInt64()); }
  static std::string text(T v) { return std::to_string(v); }
  static T parse(std::string_view text) {
    if constexpr (std::is_signed_v<T>)
      return static_cast<T>(prst_detail::parseSigned(text, std::numeric_limits<T>::min(),
                                                     std::numeric_limits<T>::max()));
    else
      return static_cast<T>(
          prst_detail::parseUnsigned(text, std::numeric_limits<T>::max(), sizeof(T) == 4));
  }
};

template <>
struct CPrstValueTraits<bool> {
  static constexpr CDBType dbType = CDBType::boolean;
  static CDBValue toDB(bool v) { return CDBValue::ofInt(v ? 1 : 0); }
  static bool fromDB(const CDBValue& v) { return v.asInt64() != 0; }
  static std::string text(bool v) { return v ? "true" : "false"; }
  static bool parse(std::string_view text) { return prst_detail::parseBool(text); }
};

template <>
struct CPrstValueTraits<double> {
  static constexpr CDBType dbType = CDBType::doubleNum;
  static CDBValue toDB(double v) { return CDBValue::ofReal(v); }
  static double fromDB(const CDBValue& v) { return v.asDouble(); }
  static std::string text(double v) { return std::to_string(v); }
  static double parse(std::string_view text) { return prst_detail::parseDouble(text); }
};

template <>
struct CPrstValueTraits<std::string> {
  static constexpr CDBType dbType = CDBType::string;
  static CDBValue toDB(const std::string& v) { return CDBValue::ofText(v); }
  static std::string fromDB(const CDBValue& v) { return v.asText(); }
  static std::string text(const std::string& v) { return v; }
  static std::string parse(std::string_view text) { return std::string(text); }
};

template <>
struct CPrstValueTraits<nuv::CIPAddress> {
  static constexpr CDBType dbType = CDBType::ipAddress;
  static CDBValue toDB(const nuv::CIPAddress& v) {
    return v.isValid() ? CDBValue::ofText(v.fat_string()) : CDBValue();
  }
  static nuv::CIPAddress fromDB(const CDBValue& v);
  static std::string text(const nuv::CIPAddress& v) { return v.string(); }
  static nuv::CIPAddress parse(std::string_view text);
};

template <>
struct CPrstValueTraits<nuv::CHexStore> {
  static constexpr CDBType dbType = CDBType::hexStore;
  static CDBValue toDB(const nuv::CHexStore& v);
  static nuv::CHexStore fromDB(const CDBValue& v) { return parse(v.textRef()); }
  static std::string text(const nuv::CHexStore& v) { return toDB(v).textRef(); }
  static nuv::CHexStore parse(std::string_view text);
};

template <>
struct CPrstValueTraits<nuv::CTimeT> {
  static constexpr CDBType dbType = CDBType::timeStamp;
  static CDBValue toDB(const nuv::CTimeT& v) { return CDBValue::ofInt(v.get()); }
  static nuv::CTimeT fromDB(const CDBValue& v) { return nuv::CTimeT(v.asInt64()); }
  static std::string text(const nuv::CTimeT& v) { return v.string(); }
  static nuv::CTimeT parse(std::string_view text);
};

template <>
struct CPrstValueTraits<CAccessRights> {
  static constexpr CDBType dbType = CDBType::accessRights;
  static CDBValue toDB(CAccessRights v) { return CDBValue::ofInt(v.bits()); }
  static CAccessRights fromDB(const CDBValue& v) { return static_cast<unsigned>(v.asInt64()); }
  static std::string text(CAccessRights v) { return v.string(); }
  static CAccessRights parse(std::string_view text) { return CAccessRights::parse(text); }
};

template <>
struct CPrstValueTraits<CDomainID> {
  static constexpr CDBType dbType = CDBType::domainID;
  static CDBValue toDB(const CDomainID& v) { return CDBValue::ofInt(v.id()); }
  static CDomainID fromDB(const CDBValue& v) { return static_cast<std::int32_t>(v.asInt64()); }
  static std::string text(const CDomainID& v) { return v.string(); }
  static CDomainID parse(std::string_view text) {
    return static_cast<std::int32_t>(prst_detail::parseSigned(text, INT32_MIN, INT32_MAX));
  }
};

// A statement argument given as text, stored as a column of the type.
CDBValue dbValueFromText(CDBType type, std::string_view text);
