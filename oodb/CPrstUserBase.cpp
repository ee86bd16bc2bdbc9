#include "oodb/CPrstUserBase.h"

#include "oodb/CDomainMemberships.h"
#include "oodb/CIPrstSession.h"
#include "oodb/CPrstAttrBase.h"
#include "oodb/CPrstException.h"
#include "oodb/CPrstUserClassPrototype.h"
#include "standard/StringUtil.h"

CPrstAttrBase::CPrstAttrBase(CPrstUserBase* owner, const char* column, CDBType type)
    : m_owner(owner), m_column(column), m_type(type) {
  owner->_addAttr(this);
}

CPrstUserBase::~CPrstUserBase() = default;

std::string CPrstUserBase::header() const {
  return typeName() + " " + (m_proto ? m_proto->table() : std::string("?")) + ":" +
         (m_id.valid() ? std::to_string(m_id.pk) : std::string("none"));
}

CPrstAttrBase* CPrstUserBase::attribute(std::string_view column) const {
  for (auto* a : m_attrs)
    if (nuv::iequals(a->column(), column)) return a;
  return nullptr;
}

bool CPrstUserBase::isDirty() const {
  for (const auto* a : m_attrs)
    if (a->dirty()) return true;
  if (const auto* m = _memberships()) return m->dirty();
  return false;
}

void CPrstUserBase::_noSession(const char* context) const {
  PRST_THROW(context, nuv::CMessage("Cannot store object %1.").pushs(header()),
             nuv::CMessage("The object has no database session."));
}

void CPrstUserBase::commit() {
  if (!m_session) _noSession("CPrstUserBase::commit");
  m_session->commitObject(*this, false);
}

bool CPrstUserBase::commitUnique() {
  if (!m_session) _noSession("CPrstUserBase::commitUnique");
  return m_session->commitUnique(*this);
}

void CPrstUserBase::fastPartialCommit() {
  if (!m_session) _noSession("CPrstUserBase::fastPartialCommit");
  m_session->commitObject(*this, true);
}

void CPrstUserBase::refresh() {
  if (!m_session) _noSession("CPrstUserBase::refresh");
  m_session->refreshObject(*this);
}

void CPrstUserBase::fastPartialRollback() {
  rollbackFromClone(true);
}

void CPrstUserBase::commitToClone() {
  // What is still dirty was not written (a partial commit): it keeps its clone.
  for (auto* a : m_attrs)
    if (!a->dirty()) a->_commitToClone();
  if (auto* m = _memberships(); m && !m->dirty()) m->_commitToClone();
}

void CPrstUserBase::rollbackFromClone(bool ownTableOnly) {
  for (auto* a : m_attrs)
    if (!ownTableOnly || a->stored()) a->_rollbackFromClone();
  if (auto* m = _memberships(); m && !ownTableOnly) m->_rollbackFromClone();
  m_deleted = false;
}

std::string CPrstUserBase::string() const {
  std::string out;
  for (const auto* a : m_attrs) {
    if (!out.empty()) out += "\n";
    out += nuv::toLower(a->column()) + " = " + a->text();
  }
  return out;
}

void CPrstUserBase::string(std::string_view text) {
  for (const auto& line : nuv::split(text, '\n')) {
    const std::string t = nuv::trim(line);
    if (t.empty()) continue;
    const auto eq = t.find('=');
    const std::string key = nuv::trim(std::string_view(t).substr(0, eq));
    CPrstAttrBase* a = eq == std::string::npos ? nullptr : attribute(key);
    if (!a)
      PRST_THROW("CPrstUserBase::string",
                 nuv::CMessage("Cannot set object of type '%1' from text.").pushs(typeName()),
                 nuv::CMessage("Unrecognized key '%1'.").pushs(key));
    a->setText(nuv::trim(std::string_view(t).substr(eq + 1)));
  }
}

std::string CPrstUserBase::prstDump() const {
  return "[" + header() + " version " + std::to_string(m_rowVersion) + "]\n" + string();
}

void CPrstObjectAccess::bind(CPrstUserBase& o, const CPrstUserClassPrototype* proto,
                             CIPrstSession* session) {
  o.m_proto = proto;
  o.m_session = session;
  o.m_id.protoName = proto->name();
}
