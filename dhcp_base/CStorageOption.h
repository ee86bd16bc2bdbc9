#pragma once
// The concrete options: a COption with an ordered vector of values of one
// type and the codec of that type. Container types hold their children as
// values. Only the factory creates them (from its pools).

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "dhcp_base/COption.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionOutputContext.h"

// Throws "Cannot insert option ... Type mismatch." style failures for
// assignStorage between different types (defined in COptionFactory.cpp).
[[noreturn]] void storageTypeMismatch(const COption& from, const COption& into);

template <class T, class IO, COptionType::option_type N>
class CStorageOption : public COption {
 public:
  using value_type = T;
  using Values = std::vector<T>;
  static constexpr COptionType::option_type kType = N;
  static constexpr bool kContainer = std::is_same_v<T, COption::Ptr>;

  CStorageOption() { m_values.reserve(5); }

  const char* typeName() const override { return IO::kTypeName; }
  COptionType valueType() const override { return N; }

  using COption::string;
  std::string string() const override { return m_io.string(m_values, *this, IO::kQuoted); }
  void string(std::string_view text, COptionInputContext& ic) override {
    m_io.set(text, m_values, *this, ic, false);
  }

  void assignStorage(const COption& other) override {
    if (other.valueType() != N) storageTypeMismatch(other, *this);
    const auto& src = static_cast<const CStorageOption&>(other).m_values;
    if (&src == &m_values) return;
    if constexpr (kContainer) {
      m_values.clear();
      for (const COption::Ptr& c : src) m_values.push_back(c->clone(context(), this));
    } else {
      m_values = src;
    }
  }
  void clearStorage() override { m_values.clear(); }

  const std::uint8_t* valueInput(const std::uint8_t* bytes, std::size_t length,
                                 COptionInputContext& ic) override {
    return m_io.valueInput(bytes, length, m_values, *this, ic);
  }
  std::uint8_t* valueOutput(std::uint8_t* bytes, std::size_t room,
                            COptionOutputContext& oc) const override {
    return m_io.valueOutput(bytes, room, m_values, *this, oc);
  }
  std::size_t valueArea(const COptionOutputContext* oc = nullptr) const override {
    return m_io.area(m_values, *this, oc);
  }
  std::size_t count() const override { return m_values.size(); }

  nlohmann::json jsonValue() const override { return m_io.json(m_values, *this); }
  void setJSONValue(const nlohmann::json& value, COptionInputContext& ic) override {
    m_io.setJSON(value, m_values, *this, ic);
  }

  Values& values() { return m_values; }
  const Values& values() const { return m_values; }
  const IO& io() const { return m_io; }

 protected:
  Children* _children() override {
    if constexpr (kContainer)
      return &m_values;
    else
      return nullptr;
  }

  Values m_values;
  IO m_io;
};
