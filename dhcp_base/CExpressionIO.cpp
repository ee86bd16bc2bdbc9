#include "dhcp_base/CExpressionIO.h"

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COption.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/COptionOutputContext.h"
#include "dhcp_base/CValueTypeInserter.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

const std::uint8_t* CExpressionIO::valueInput(const std::uint8_t*, std::size_t, Values&, COption&,
                                              COptionInputContext&) const {
  _fail("CExpressionIO::valueInput", "Cannot define an expression option from raw binary format.",
        "Illegal operation.");
}

std::uint8_t* CExpressionIO::valueOutput(std::uint8_t* out, std::size_t room, const Values& values,
                                         const COption& option, COptionOutputContext& oc) const {
  CDHCPContext& ctx = *option.context();
  nuv::CMultiVariant results;
  for (const nuv::CExpression& e : values) {
    // Without an evaluator module expressions evaluate to nothing.
    if (e.getSyntaxTree() && !e.evaluator()) continue;
    try {
      nuv::CMultiVariant r = *e;
      results.insert(results.end(), r.begin(), r.end());
    } catch (const nuv::CException& ex) {
      _fail("CExpressionIO::valueOutput", "Cannot evaluate expression '%1' for option %2.", "%1",
            {e.text(), option.label()}, {ex.whyText()});
    }
  }
  if (results.empty()) {
    oc.noExpressionResult(true);
    return out;
  }
  const COptionAttributes::Ptr& def =
      ctx.optionLookup().locate(option.tagPath(), option.attributes().vendorId, true);
  const COptionType target = def->type;
  if (target == COptionType::ot_unknown || target == COptionType::ot_expression ||
      target == COptionType::ot_128bit)
    _fail("CExpressionIO::valueOutput", "Cannot coerce data type.",
          "Cannot convert from data type <%1> to <%2>.", {},
          {nuv::CVariantType::string(results.front().type()), target.string()});
  COption::Ptr typed = ctx.factory().make(def, const_cast<COption*>(option.parent()));
  for (const nuv::CVariant& v : results) {
    try {
      CValueTypeInserter::push_back(v, *typed);
    } catch (const nuv::CException&) {
      _fail("CExpressionIO::valueOutput", "Cannot coerce value '%1' to type '%2'.",
            "Cannot convert from data type <%1> to <%2>.", {v.string(), target.string()},
            {nuv::CVariantType::string(v.type()), target.string()});
    }
  }
  return typed->valueOutput(out, room, oc);
}

std::string CExpressionIO::string(const Values& values, const COption&, bool) const {
  std::string out;
  for (const nuv::CExpression& e : values) {
    if (!out.empty()) out += ", ";
    out += e.text();
  }
  return out;
}

void CExpressionIO::set(std::string_view text, Values& values, COption& option,
                        COptionInputContext&, bool append) const {
  nuv::CExpression e(option.context()->evaluator(), nuv::trim(text));
  if (!append) values.clear();
  values.push_back(std::move(e));
}

nlohmann::json CExpressionIO::json(const Values& values, const COption&) const {
  nlohmann::json j = nlohmann::json::array();
  for (const nuv::CExpression& e : values) j.push_back(e.text());
  return j;
}

void CExpressionIO::setJSON(const nlohmann::json& j, Values& values, COption& option,
                            COptionInputContext& ic) const {
  Values parsed;
  const auto one = [&](const nlohmann::json& e) {
    set(e.is_string() ? e.get<std::string>() : e.dump(), parsed, option, ic, true);
  };
  if (j.is_array())
    for (const nlohmann::json& e : j) one(e);
  else if (!j.is_null())
    one(j);
  values.swap(parsed);
}
