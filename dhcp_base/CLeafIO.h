#pragma once
// The shared part of the value codecs: length prefixes, arrays of
// fixed-size values, room checks, the ", "-joined text form and the JSON
// array form. Derived supplies the per-value hooks:
//   fixedSize(option)        wire size of every value, 0 when it varies
//   size(value, option)      wire size of one value
//   writeOne(out, value, option), readOne(bytes, n, option, ic)
//   readAll(bytes, n, values, option, ic)   unprefixed variable-size payload
//   format(value, option), parse(text, option)
//   toJson(value, option), fromJson(json, option)
// and the flags kQuoted (text values in double quotes) and kPrefixable
// (honours "len_prefix_width").

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "dhcp_base/CAbstractIO.h"
#include "dhcp_base/COption.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionOutputContext.h"
#include "dhcp_base/OptionText.h"
#include "standard/StringUtil.h"

template <class Derived, class T>
class CLeafIO : public CAbstractIO {
 public:
  using Values = std::vector<T>;
  static constexpr bool kQuoted = false;
  static constexpr bool kPrefixable = true;
  // Blanks inside quotes belong to the value (strings); other values are
  // trimmed.
  static constexpr bool kKeepBlanks = false;

  const std::uint8_t* valueInput(const std::uint8_t* bytes, std::size_t length, Values& values,
                                 COption& option, COptionInputContext& ic) const {
    values.clear();
    const std::uint8_t* end = bytes + length;
    const unsigned p = Derived::kPrefixable ? option.attributes().element.lenPrefixWidth : 0;
    if (p) {
      const std::uint8_t* pos = bytes;
      while (pos < end) {
        std::size_t n = 0;
        pos = readLen(pos, end, p, n, ic.messageStart());
        if (n > static_cast<std::size_t>(end - pos))
          _lengthTooLarge(option, ic.messageStart(), pos);
        values.push_back(Derived::readOne(pos, n, option, ic));
        pos += n;
      }
      return end;
    }
    const std::size_t w = Derived::fixedSize(option);
    if (w) {
      if (length < w || length % w) _tooShort(option, ic.messageStart(), bytes);
      for (const std::uint8_t* pos = bytes; pos < end; pos += w)
        values.push_back(Derived::readOne(pos, w, option, ic));
      return end;
    }
    Derived::readAll(bytes, length, values, option, ic);
    return end;
  }

  std::uint8_t* valueOutput(std::uint8_t* out, std::size_t room, const Values& values,
                            const COption& option, COptionOutputContext&) const {
    const unsigned p = Derived::kPrefixable ? option.attributes().element.lenPrefixWidth : 0;
    for (const T& v : values) {
      const std::size_t s = Derived::size(v, option);
      if (p + s > room) _outputTooSmall(option);
      if (p) out = writeSqueezed(out, s, p);
      Derived::writeOne(out, v, option);
      out += s;
      room -= p + s;
    }
    return out;
  }

  std::size_t area(const Values& values, const COption& option, const COptionOutputContext*) const {
    const unsigned p = Derived::kPrefixable ? option.attributes().element.lenPrefixWidth : 0;
    std::size_t n = 0;
    for (const T& v : values) n += p + Derived::size(v, option);
    return n;
  }

  std::string string(const Values& values, const COption& option, bool quoted) const {
    std::string out;
    for (const T& v : values) {
      if (!out.empty()) out += ", ";
      if (quoted)
        out += quoteValue(Derived::format(v, option));
      else
        out += Derived::format(v, option);
    }
    return out;
  }

  void set(std::string_view text, Values& values, COption& option, COptionInputContext&,
           bool append) const {
    Values parsed;
    for (const std::string& item : splitValueList(text))
      parsed.push_back(Derived::parse(Derived::kKeepBlanks ? item : nuv::trim(item), option));
    if (append)
      values.insert(values.end(), parsed.begin(), parsed.end());
    else
      values.swap(parsed);
  }

  nlohmann::json json(const Values& values, const COption& option) const {
    nlohmann::json j = nlohmann::json::array();
    for (const T& v : values) j.push_back(Derived::toJson(v, option));
    return j;
  }

  void setJSON(const nlohmann::json& j, Values& values, COption& option,
               COptionInputContext&) const {
    Values parsed;
    if (j.is_array()) {
      for (const nlohmann::json& e : j) parsed.push_back(Derived::fromJson(e, option));
    } else if (!j.is_null()) {
      parsed.push_back(Derived::fromJson(j, option));
    }
    values.swap(parsed);
  }

  // Defaults of the hooks.
  static std::size_t fixedSize(const COption&) { return 0; }
  static void readAll(const std::uint8_t* bytes, std::size_t n, Values& values, COption& option,
                      COptionInputContext& ic) {
    values.push_back(Derived::readOne(bytes, n, option, ic));
  }
  static nlohmann::json toJson(const T& v, const COption& option) {
    return Derived::format(v, option);
  }
  static T fromJson(const nlohmann::json& j, const COption& option) {
    return Derived::parse(j.is_string() ? j.get<std::string>() : j.dump(), option);
  }
};
