#pragma once
// Attributes that refer to other persistent objects:
//   CPrstRefAttr<T>   a reference to exactly one object, whose key is this
//                     record's column; the object is owned: it is written
//                     before the owner, deleted with it, and deleted when
//                     the reference is replaced (a pool's address range)
//   CPrstFKAttr<T>    a plain foreign key: the same column, nothing owned
//
//   CPrstRefAttr<CPrstAddressRange> m_range{this, "ADDR_RANGE"};
//   m_range.set(session->createTransient<CPrstAddressRange>());
//   m_range->start(...);  // loads a stored target on first use

#include <string>
#include <string_view>

#include "oodb/CPrstAttrBase.h"
#include "oodb/CPrstUserClassPtr.h"
#include "oodb/CPrstValueTraits.h"

template <class T>
class CPrstRefAttr : public CPrstAttrBase {
 public:
  CPrstRefAttr(CPrstUserBase* owner, const char* column, bool owned = true)
      : CPrstAttrBase(owner, column, CDBType::longInt), m_owned(owned) {}

  const CPrstUserClassPtr<T>& get() const { return m_ref; }
  T* operator->() const { return m_ref.operator->(); }
  void set(CPrstUserClassPtr<T> target) {
    m_ref = std::move(target);
    _touch();
  }
  bool owned() const { return m_owned; }

  CDBValue toDB() const override {
    return m_ref.empty() || m_ref.pk() == CPrstSimpleID::kNoPK ? CDBValue()
                                                               : CDBValue::ofInt(m_ref.pk());
  }
  void fromDB(const CDBValue& value) override {
    m_ref = value.isNull() ? CPrstUserClassPtr<T>()
                           : CPrstUserClassPtr<T>(owner().session(),
                                                  static_cast<std::int32_t>(value.asInt64()));
    m_clone = m_ref;
    _clean();
  }
  std::string text() const override {
    return m_ref.pk() == CPrstSimpleID::kNoPK ? std::string() : std::to_string(m_ref.pk());
  }
  void setText(std::string_view text) override {
    set(text.empty()
            ? CPrstUserClassPtr<T>()
            : CPrstUserClassPtr<T>(owner().session(), CPrstValueTraits<std::int32_t>::parse(text)));
  }
  void _commitToClone() override { m_clone = m_ref; }
  void _rollbackFromClone() override {
    m_ref = m_clone;
    _clean();
  }

  bool _writesOtherRows() const override { return true; }
  void _beforeWrite(CIPrstSession& session) override {
    if (T* target = m_ref.get(); target && (target->isTransient() || target->isDirty()))
      session.commitObject(*target, false);
    if (m_owned && m_clone.pk() != CPrstSimpleID::kNoPK && m_clone.pk() != m_ref.pk())
      prstDeleteOwned(session, m_clone);
  }
  void _onDelete(CIPrstSession& session) override {
    if (m_owned && !m_ref.empty()) prstDeleteOwned(session, m_ref);
  }

 private:
  CPrstUserClassPtr<T> m_ref;
  CPrstUserClassPtr<T> m_clone;
  bool m_owned;
};

template <class T>
class CPrstFKAttr : public CPrstRefAttr<T> {
 public:
  CPrstFKAttr(CPrstUserBase* owner, const char* column) : CPrstRefAttr<T>(owner, column, false) {}
};
