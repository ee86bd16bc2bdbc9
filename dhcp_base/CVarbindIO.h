#pragma once
// "snmp_oid": per value the object identifier text and the "type=value"
// text, each behind a 2-byte length.

#include "dhcp_base/CLeafIO.h"
#include "dhcp_base/CVarbind.h"

class CVarbindIO : public CLeafIO<CVarbindIO, CVarbind> {
 public:
  static constexpr const char* kTypeName = "CVarbindOption";
  static constexpr bool kPrefixable = false;

  static std::size_t size(const CVarbind& v, const COption&) {
    return 4 + v.oid.size() + v.type.size() + 1 + v.value.size();
  }
  static void writeOne(std::uint8_t* out, const CVarbind& v, const COption&);
  static CVarbind readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                          COptionInputContext& ic);
  static void readAll(const std::uint8_t* bytes, std::size_t n, Values& values, COption& option,
                      COptionInputContext& ic);
  static std::string format(const CVarbind& v, const COption&) { return v.string(); }
  static CVarbind parse(const std::string& text, const COption& option);
  static nlohmann::json toJson(const CVarbind& v, const COption&) {
    return {{"oid", v.oid}, {"type", v.type}, {"value", v.value}};
  }
  static CVarbind fromJson(const nlohmann::json& j, const COption& option);

 private:
  static const std::uint8_t* _read(const std::uint8_t* p, const std::uint8_t* end, CVarbind& v,
                                   const COption& option, COptionInputContext& ic);
};
