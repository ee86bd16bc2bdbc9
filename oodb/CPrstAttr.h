#pragma once
// The value attribute kinds:
//   CPrstAttr<T>         one column of a plain type, with a dirty flag
//   CPrstAttrDerived<T>  a value computed from other attributes, not stored
//   CPrstAttrPtr<T>      an owned object stored as one column (its text form;
//                        type token "[__DB_TYPE_COBJECT__]")
// T's storage comes from CPrstValueTraits<T> (specialise it for new types).
//
//   CPrstAttr<std::string> m_name{this, "NAME"};
//   CPrstAttr<std::uint32_t> m_iaid{this, "IAID"};
//   CPrstAttr<std::int32_t> m_poolOid{this, "POOL_OID", CDBType::longInt};
//   CPrstAttrDerived<nuv::CTimeT> m_expire{this, "LEASE_EXPIRE", [this] { ... }};
//   CPrstAttrPtr<COptionStore> m_options{this, "OPTIONS"};

#include <functional>
#include <string>
#include <string_view>

#include "oodb/CPrstAttrBase.h"
#include "oodb/CPrstException.h"
#include "oodb/CPrstValueTraits.h"
#include "standard/CGeneralPtr.h"

template <class T>
class CPrstAttr : public CPrstAttrBase {
  using Traits = CPrstValueTraits<T>;

 public:
  CPrstAttr(CPrstUserBase* owner, const char* column, CDBType type = Traits::dbType,
            T initial = T())
      : CPrstAttrBase(owner, column, type), m_value(initial), m_clone(std::move(initial)) {}

  const T& get() const { return m_value; }
  operator const T&() const { return m_value; }  // NOLINT: reads like the value
  void set(T value) {
    m_value = std::move(value);
    _touch();
  }
  CPrstAttr& operator=(T value) {
    set(std::move(value));
    return *this;
  }

  CDBValue toDB() const override { return Traits::toDB(m_value); }
  void fromDB(const CDBValue& value) override {
    m_value = Traits::fromDB(value);
    m_clone = m_value;
    _clean();
  }
  std::string text() const override { return Traits::text(m_value); }
  void setText(std::string_view text) override { set(Traits::parse(text)); }
  void _commitToClone() override { m_clone = m_value; }
  void _rollbackFromClone() override {
    m_value = m_clone;
    _clean();
  }

 private:
  T m_value;
  T m_clone;
};

template <class T>
class CPrstAttrDerived : public CPrstAttrBase {
 public:
  using Compute = std::function<T()>;
  CPrstAttrDerived(CPrstUserBase* owner, const char* column, Compute compute,
                   CDBType type = CPrstValueTraits<T>::dbType)
      : CPrstAttrBase(owner, column, type), m_compute(std::move(compute)) {}

  T get() const { return m_compute(); }
  bool stored() const override { return false; }
  bool dirty() const override { return false; }
  CDBValue toDB() const override { return CPrstValueTraits<T>::toDB(get()); }
  void fromDB(const CDBValue&) override {}
  std::string text() const override { return CPrstValueTraits<T>::text(get()); }
  void setText(std::string_view) override {
    PRST_THROW("CPrstAttrDerived::setText",
               nuv::CMessage("Cannot set attribute '%1'.").pushs(column()),
               nuv::CMessage("The value is derived from other attributes."));
  }
  void _commitToClone() override {}
  void _rollbackFromClone() override {}

 private:
  Compute m_compute;
};

template <class T>
class CPrstAttrPtr : public CPrstAttrBase {
  using Traits = CPrstValueTraits<T>;

 public:
  CPrstAttrPtr(CPrstUserBase* owner, const char* column, CDBType type = CDBType::cobject)
      : CPrstAttrBase(owner, column, type), m_value(nuv::makeGeneral<T>()) {}

  // Read-only access; the const object is shared with nobody who may change it.
  const T& get() const { return *m_value; }
  // Access for changing the object in place: marks the attribute dirty.
  T& mutableGet() {
    _touch();
    return *m_value;
  }
  void set(nuv::CGeneralPtr<T> value) {
    m_value = value ? std::move(value) : nuv::makeGeneral<T>();
    _touch();
  }

  CDBValue toDB() const override { return Traits::toDB(*m_value); }
  void fromDB(const CDBValue& value) override {
    m_value = nuv::makeGeneral<T>(Traits::fromDB(value));
    m_clone = value;
    _clean();
  }
  std::string text() const override { return Traits::text(*m_value); }
  void setText(std::string_view text) override { set(nuv::makeGeneral<T>(Traits::parse(text))); }
  void _commitToClone() override { m_clone = toDB(); }
  void _rollbackFromClone() override {
    if (dirty()) m_value = nuv::makeGeneral<T>(Traits::fromDB(m_clone));
    _clean();
  }

 private:
  nuv::CGeneralPtr<T> m_value;
  CDBValue m_clone = Traits::toDB(T());
};
