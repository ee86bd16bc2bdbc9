#pragma once
// "boolean": one byte per value, 0 false and anything else true; text
// "true" or "false" only.

#include "dhcp_base/CLeafIO.h"

class CBooleanIO : public CLeafIO<CBooleanIO, bool> {
 public:
  static constexpr const char* kTypeName = "CBooleanOption";

  static std::size_t fixedSize(const COption&) { return 1; }
  static std::size_t size(bool, const COption&) { return 1; }
  static void writeOne(std::uint8_t* out, bool v, const COption&) { *out = v ? 1 : 0; }
  static bool readOne(const std::uint8_t* p, std::size_t, const COption&, COptionInputContext&) {
    return *p != 0;
  }
  static std::string format(bool v, const COption&) { return v ? "true" : "false"; }
  static bool parse(const std::string& text, const COption& option);
  static nlohmann::json toJson(bool v, const COption&) { return v; }
  static bool fromJson(const nlohmann::json& j, const COption& option) {
    if (j.is_boolean()) return j.get<bool>();
    return parse(j.is_string() ? j.get<std::string>() : j.dump(), option);
  }
};
