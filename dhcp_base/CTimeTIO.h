#pragma once
// "time": 4 bytes of seconds per value; 0xffffffff reads "infinite".

#include "dhcp_base/CLeafIO.h"
#include "standard/CTimeT.h"

class CTimeTIO : public CLeafIO<CTimeTIO, nuv::CTimeT> {
 public:
  static constexpr const char* kTypeName = "CTimeOption";
  static constexpr bool kPrefixable = false;
  static constexpr std::uint32_t kInfinite = 0xffffffffu;

  static std::size_t fixedSize(const COption&) { return 4; }
  static std::size_t size(const nuv::CTimeT&, const COption&) { return 4; }
  static void writeOne(std::uint8_t* out, const nuv::CTimeT& v, const COption&) {
    writeSqueezed(out, static_cast<std::uint32_t>(v.get()), 4);
  }
  static nuv::CTimeT readOne(const std::uint8_t* p, std::size_t, const COption&,
                             COptionInputContext&) {
    return nuv::CTimeT(static_cast<std::time_t>(readBig(p, 4)));
  }
  static std::string format(const nuv::CTimeT& v, const COption&);
  static nuv::CTimeT parse(const std::string& text, const COption& option);
  static nlohmann::json toJson(const nuv::CTimeT& v, const COption&) {
    return static_cast<std::int64_t>(v.get());
  }
  static nuv::CTimeT fromJson(const nlohmann::json& j, const COption& option) {
    if (j.is_number_integer()) return nuv::CTimeT(static_cast<std::time_t>(j.get<std::int64_t>()));
    return parse(j.is_string() ? j.get<std::string>() : j.dump(), option);
  }
};
