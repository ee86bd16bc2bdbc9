#pragma once
// "8bit" to "64bit": each value as W big-endian bytes. Text: decimal
// (signed when the definition says "signed"); input reads decimal, 0x
// hexadecimal or 0-octal, and a value the W bytes cannot hold (or a
// negative one for an unsigned definition) is refused, never wrapped.

#include <cstdint>
#include <string>

#include "dhcp_base/CLeafIO.h"

// Reads a whole number with automatic base; throws naming the option.
std::uint64_t parseOptionNumber(const std::string& text, const COption& option);
// The same, refused unless it fits width bytes of the definition's sign.
std::uint64_t parseOptionNumber(const std::string& text, const COption& option, unsigned width);

template <class T, unsigned W>
class CNumericIO : public CLeafIO<CNumericIO<T, W>, T> {
 public:
  static constexpr const char* kTypeName = W == 1   ? "C8BitOption"
                                           : W == 2 ? "C16BitOption"
                                           : W == 3 ? "C24BitOption"
                                           : W == 4 ? "C32BitOption"
                                                    : "C64BitOption";
  static constexpr bool kPrefixable = false;
  static constexpr std::uint64_t kMask =
      W == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * W)) - 1;

  static std::size_t fixedSize(const COption&) { return W; }
  static std::size_t size(T, const COption&) { return W; }
  static void writeOne(std::uint8_t* out, T v, const COption&) {
    CAbstractIO::writeSqueezed(out, v, W);
  }
  static T readOne(const std::uint8_t* p, std::size_t, const COption&, COptionInputContext&) {
    return static_cast<T>(CAbstractIO::readBig(p, W));
  }
  static std::int64_t asSigned(T v) {
    const std::uint64_t u = static_cast<std::uint64_t>(v) & kMask;
    if (W == 8) return static_cast<std::int64_t>(u);
    const std::uint64_t sign = std::uint64_t{1} << (8 * W - 1);
    return (u & sign) ? static_cast<std::int64_t>(u | ~kMask) : static_cast<std::int64_t>(u);
  }
  static std::string format(T v, const COption& option) {
    return option.attributes().element.isSigned ? std::to_string(asSigned(v))
                                                : std::to_string(static_cast<std::uint64_t>(v));
  }
  static T parse(const std::string& text, const COption& option) {
    return static_cast<T>(parseOptionNumber(text, option, W) & kMask);
  }
  static nlohmann::json toJson(T v, const COption& option) {
    if (option.attributes().element.isSigned) return asSigned(v);
    return static_cast<std::uint64_t>(v);
  }
  static T fromJson(const nlohmann::json& j, const COption& option) {
    return parse(j.is_string() ? j.get<std::string>() : j.dump(), option);
  }
};
