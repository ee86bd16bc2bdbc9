#include "dhcp_base/COptionStore.h"

#include <vector>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/COptionOutputContext.h"
#include "exp_eval/CExpression.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

std::string COptionStore::string() const {
  std::string out;
  for (const COption::Ptr& c : m_values)
    out.append(c->attributes().name).append(" = ").append(c->string()).append("\n");
  return out;
}

void COptionStore::string(std::string_view text, COptionInputContext& ic) {
  CDHCPContext& ctx = *context();
  Values parsed;
  for (const std::string& raw : nuv::split(text, '\n')) {
    const std::string line = nuv::trim(raw);
    if (line.empty()) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos)
      NUV_THROW("COptionStore::string",
                nuv::CMessage("Cannot set option store '%1' from text.").pushs(m_instanceName),
                nuv::CMessage("Line '%1' is not of the form 'name = value'.").pushs(line));
    const std::string name = nuv::trim(line.substr(0, eq));
    const std::string value = nuv::trim(line.substr(eq + 1));
    const COptionAttributes::Ptr& def = ctx.optionLookup().locate(name, CVendorID::reserved());
    COption::Ptr option =
        nuv::isExpression(value)
            ? ctx.factory().create(def->tag(), def->vendorId, COptionType::ot_expression, this)
            : ctx.factory().make(def, this);
    option->string(value, ic);
    parsed.push_back(std::move(option));
  }
  for (COption::Ptr& c : parsed) m_values.push_back(std::move(c));
}

void COptionStore::checkWire() const {
  CDHCPContext& ctx = *context();
  for (const COption::Ptr& c : m_values) {
    if (c->valueType() == COptionType::ot_expression || ctx.isServerControlOption(c->tag()))
      continue;
    COptionStorePtr one = ctx.factory().createOS("wire check");
    one->append(c->clone(&ctx, one.get()));
    COptionOutputContext oc(one.get(), false);
    std::vector<std::uint8_t> bytes(one->valueArea(&oc));
    const std::uint8_t* end = one->valueOutput(bytes.data(), bytes.size(), oc);
    COptionStorePtr back = ctx.factory().createOS("wire check");
    COptionInputContext ic(bytes.data(), back.get());
    try {
      back->valueInput(bytes.data(), static_cast<std::size_t>(end - bytes.data()), ic);
    } catch (const nuv::CException& e) {
      NUV_THROW("COptionStore::checkWire",
                nuv::CMessage("Option '%1' would be sent malformed.").pushs(c->attributes().name),
                nuv::CMessage(e.whyText()));
    }
  }
}

std::string COptionStore::dump() const {
  std::string out = m_instanceName + ":\n";
  for (const COption::Ptr& c : m_values) out.append(m_elementPrefix).append(c->dump()).append("\n");
  return out;
}

void COptionStore::reset() {
  CStorageOption::reset();
  m_instanceName.clear();
  m_elementPrefix.clear();
}

COption::Ptr COptionStore::clone(CDHCPContext* ctx, COption* parent) const {
  COption::Ptr copy = CStorageOption::clone(ctx, parent);
  auto* store = static_cast<COptionStore*>(copy.get());
  store->m_instanceName = m_instanceName;
  store->m_elementPrefix = m_elementPrefix;
  return copy;
}

nuv::CGeneralPtr<COptionStore> COptionStore::clone(CDHCPContext* ctx) const {
  return std::static_pointer_cast<COptionStore>(clone(ctx, nullptr));
}

void COptionStore::setJSONValue(const nlohmann::json& value, COptionInputContext& ic) {
  try {
    CStorageOption::setJSONValue(value, ic);
  } catch (const nuv::CException& e) {
    NUV_THROW("COptionStore::setJSONValue",
              nuv::CMessage("Cannot deserialize option store from json format."),
              nuv::CMessage(e.whatText()));
  }
}
