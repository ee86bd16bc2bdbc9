#pragma once
// "control": a header without a value (Rapid Commit, Reconfigure Accept).
// A received payload is passed over; no value can be set.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "dhcp_base/CAbstractIO.h"

class COption;
class COptionInputContext;
class COptionOutputContext;

class CProtoControlIO : public CAbstractIO {
 public:
  using Values = std::vector<std::uint8_t>;
  static constexpr const char* kTypeName = "CProtoControlOption";
  static constexpr bool kQuoted = false;

  const std::uint8_t* valueInput(const std::uint8_t* bytes, std::size_t length, Values& values,
                                 COption&, COptionInputContext&) const {
    values.clear();
    return bytes + length;
  }
  std::uint8_t* valueOutput(std::uint8_t* out, std::size_t, const Values&, const COption&,
                            COptionOutputContext&) const {
    return out;
  }
  std::size_t area(const Values&, const COption&, const COptionOutputContext*) const { return 0; }
  std::string string(const Values&, const COption&, bool) const { return {}; }
  void set(std::string_view text, Values& values, COption& option, COptionInputContext& ic,
           bool append) const;
  nlohmann::json json(const Values&, const COption&) const { return nlohmann::json::array(); }
  void setJSON(const nlohmann::json& j, Values& values, COption& option,
               COptionInputContext& ic) const;
};
