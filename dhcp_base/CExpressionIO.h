#pragma once
// "expression": an expression evaluated when the option is written. The
// results are converted to the value type of the option's definition and
// written with that type's codec; no result writes nothing, not even the
// header (the output context is told). Never read from the wire.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "dhcp_base/CAbstractIO.h"
#include "exp_eval/CExpression.h"

class COption;
class COptionInputContext;
class COptionOutputContext;

class CExpressionIO : public CAbstractIO {
 public:
  using Values = std::vector<nuv::CExpression>;
  static constexpr const char* kTypeName = "CExpressionOption";
  // Unquoted, so that an option set's text form reads back as expressions.
  static constexpr bool kQuoted = false;

  const std::uint8_t* valueInput(const std::uint8_t* bytes, std::size_t length, Values& values,
                                 COption& option, COptionInputContext& ic) const;
  std::uint8_t* valueOutput(std::uint8_t* out, std::size_t room, const Values& values,
                            const COption& option, COptionOutputContext& oc) const;
  // Known only once evaluated.
  std::size_t area(const Values&, const COption&, const COptionOutputContext*) const { return 0; }
  std::string string(const Values& values, const COption& option, bool quoted) const;
  void set(std::string_view text, Values& values, COption& option, COptionInputContext& ic,
           bool append) const;
  nlohmann::json json(const Values& values, const COption& option) const;
  void setJSON(const nlohmann::json& j, Values& values, COption& option,
               COptionInputContext& ic) const;
};
