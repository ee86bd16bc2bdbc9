#include "dhcp_database/CPrstOptionStoreAttr.h"

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/COptionOutputContext.h"
#include "oodb/CPrstException.h"
#include "oodb/CPrstUserBase.h"
#include "standard/StringUtil.h"

CPrstOptionStoreAttr::CPrstOptionStoreAttr(CPrstUserBase* owner, const char* column,
                                           const char* instanceName)
    : CPrstAttrBase(owner, column, CDBType::cobject), m_instanceName(instanceName) {}

void CPrstOptionStoreAttr::context(CDHCPContext* context) {
  if (context == m_context) return;
  // Options belong to the context that made them: parse again on next use.
  if (m_changed) m_text = m_store->string();
  m_store.reset();
  m_changed = false;
  m_context = context;
}

CDHCPContext& CPrstOptionStoreAttr::_requireContext(const char* op) const {
  if (!m_context)
    PRST_THROW(op, nuv::CMessage("Cannot read the option set of %1.").pushs(owner().header()),
               nuv::CMessage("The record has no DHCP context."));
  return *m_context;
}

COptionStorePtr CPrstOptionStoreAttr::parse(std::string_view text) const {
  CDHCPContext& ctx = _requireContext("CPrstOptionStoreAttr::parse");
  COptionStorePtr store = ctx.factory().createOS(m_instanceName);
  COptionInputContext ic(nullptr, store.get());
  store->string(text, ic);
  return store;
}

const COptionStore& CPrstOptionStoreAttr::get() const {
  if (!m_store) m_store = parse(m_text);
  return *m_store;
}

COptionStore& CPrstOptionStoreAttr::mutableGet() {
  get();
  m_changed = true;
  _touch();
  return *m_store;
}

void CPrstOptionStoreAttr::set(const COptionStore* store) {
  CDHCPContext& ctx = _requireContext("CPrstOptionStoreAttr::set");
  COptionStorePtr copy = store ? store->clone(&ctx) : ctx.factory().createOS(m_instanceName);
  copy->instanceName(m_instanceName);
  m_store = std::move(copy);
  m_changed = true;
  _touch();
}

bool CPrstOptionStoreAttr::empty() const {
  if (m_store) return m_store->count() == 0;
  return m_text.find_first_not_of(" \t\r\n") == std::string::npos;
}

void CPrstOptionStoreAttr::fromDB(const CDBValue& value) {
  m_text = value.asText();
  m_store.reset();
  m_changed = false;
  m_clone = m_text;
  _clean();
}

std::string CPrstOptionStoreAttr::text() const {
  // A changed store may still be changed through mutableGet()'s reference.
  return m_changed ? m_store->string() : m_text;
}

void CPrstOptionStoreAttr::setText(std::string_view text) {
  // Checked at once when the definitions are at hand.
  COptionStorePtr parsed = m_context ? parse(text) : nullptr;
  m_text.assign(text);
  m_store = std::move(parsed);
  m_changed = false;
  _touch();
}

void CPrstOptionStoreAttr::_rollbackFromClone() {
  if (dirty()) {
    m_text = m_clone;
    m_store.reset();
    m_changed = false;
  }
  _clean();
}

COptionStorePtr CPrstOptionStoreAttr::fromText(const nuv::CStringMap& map) const {
  const std::string* all = map.getp("options");
  const std::string* one = map.getp("option");
  const std::string* removed = map.getp("-option");
  if (!all && !one && !removed) return nullptr;
  CDHCPContext& ctx = _requireContext("CPrstOptionStoreAttr::fromText");
  COptionStorePtr out = all ? parse(*all) : get().clone(&ctx);
  out->instanceName(m_instanceName);
  if (one) {
    COptionStorePtr added = parse(*one);
    for (COption::Ptr& option : *added->children()) out->overwrite(std::move(option));
  }
  if (removed) {
    const auto& def = ctx.optionLookup().locate(nuv::trim(*removed), CVendorID::reserved());
    while (out->erase(CTagPath{def->tag()})) {
    }
  }
  _encodeEach(*out);
  // Written is not enough: a client must read it back (an address list
  // without addresses encodes, as an option nobody can decode).
  out->checkWire();
  return out;
}

void CPrstOptionStoreAttr::_encodeEach(const COptionStore& store) {
  // What cannot be written must not be stored: each option is encoded
  // once, as a reply would carry it.
  std::vector<std::uint8_t> buffer;
  for (const COption::Ptr& option : *store.children()) {
    const std::string& name = option->attributes().name;
    const std::string label = name.empty() ? option->label() : name;
    COptionOutputContext oc;
    const std::size_t size = option->valueArea(&oc);
    if (size > 0xffff)
      PRST_THROW(
          "CPrstOptionStoreAttr::fromText",
          nuv::CMessage("Option '%1' is %2 bytes long; at most 65535 fit.").pushs(label).push(size),
          nuv::CMessage("Invalid value."));
    buffer.resize(size + 1);
    try {
      option->valueOutput(buffer.data(), buffer.size(), oc);
    } catch (const nuv::CException& e) {
      PRST_THROW("CPrstOptionStoreAttr::fromText",
                 nuv::CMessage("Option '%1' cannot be encoded: %2")
                     .pushs(label)
                     .pushs(e.whyText().empty() ? e.whatText() : e.whyText()),
                 nuv::CMessage("Invalid value."));
    }
  }
}

void CPrstOptionStoreAttr::adopt(COptionStorePtr store) {
  m_store = std::move(store);
  m_changed = true;
  _touch();
}
