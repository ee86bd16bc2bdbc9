#pragma once
// "string": the bytes of each string, plus a zero byte when the definition
// says "null_terminated". Without a length prefix the payload is one
// string (or, arrayed and null-terminated, one string per terminator).

#include <string>

#include "dhcp_base/CLeafIO.h"

class CStringIO : public CLeafIO<CStringIO, std::string> {
 public:
  static constexpr const char* kTypeName = "CStringOption";
  static constexpr bool kQuoted = true;
  static constexpr bool kKeepBlanks = true;

  static std::size_t size(const std::string& v, const COption& option) {
    return v.size() + (option.attributes().element.nullTerminated ? 1 : 0);
  }
  static void writeOne(std::uint8_t* out, const std::string& v, const COption& option);
  static std::string readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                             COptionInputContext&);
  static void readAll(const std::uint8_t* bytes, std::size_t n, Values& values, COption& option,
                      COptionInputContext& ic);
  static std::string format(const std::string& v, const COption&) { return v; }
  static std::string parse(const std::string& text, const COption&) { return text; }
};
