#pragma once
// The one way to make options: finds the definition of a code under a
// parent and a vendor and takes an object of the definition's storage
// class from that class's pool. Created options are not yet in the tree;
// the caller appends them.

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>

#include "dhcp_base/COption.h"
#include "dhcp_base/COptionStore.h"
#include "dhcp_base/CVendorID.h"
#include "standard/CVariant.h"

class CDHCPContext;
class COptionPoolBase;

class COptionFactory {
 public:
  static constexpr std::size_t kDefaultMaxPoolSize = 200;
  static constexpr std::size_t kDefaultPoolIncrement = 20;

  explicit COptionFactory(CDHCPContext& context);
  COptionFactory(const COptionFactory&) = delete;
  COptionFactory& operator=(const COptionFactory&) = delete;
  ~COptionFactory();

  // Option code under parent (the top when null) with its definition's
  // type. No definition: null with fallback, else the lookup's failure;
  // a definition of type "unknown" gives null too.
  COption::Ptr create(std::uint32_t code, const CVendorID& vendor, COption* parent,
                      bool fallback = true);
  // The same with the value type chosen by the caller (an expression
  // standing for a value of the defined type).
  COption::Ptr create(std::uint32_t code, const CVendorID& vendor, COptionType type,
                      COption* parent);
  // Created with its definition's type and value set from value (which is
  // converted to that type).
  template <class V, std::enable_if_t<std::is_same_v<V, nuv::CVariant>, int> = 0>
  COption::Ptr create(std::uint32_t code, const CVendorID& vendor, const V& value,
                      COption* parent) {
    return _createWithValue(code, vendor, value, parent);
  }
  // A new option of the same code, vendor and type under the same parent,
  // with the values (children deeply) copied.
  COption::Ptr clone(const COption& option);
  COptionStorePtr createOS(std::string instanceName, std::string elementPrefix = {});

  // An option for a definition under parent.
  COption::Ptr make(const COptionAttributes::Ptr& definition, COption* parent);
  // An empty object of a type's storage class, straight from its pool.
  COption::Ptr allocate(COptionType type);

  void maxOptionPoolSize(std::size_t n);
  std::size_t maxOptionPoolSize() const { return m_maxPoolSize; }
  void optionPoolIncrements(std::size_t n);
  std::size_t optionPoolIncrements() const { return m_increment; }
  // A type's pool (null for "128bit" and "unknown").
  const COptionPoolBase* pool(COptionType type) const { return m_pools[type]; }

 private:
  COption::Ptr _createWithValue(std::uint32_t code, const CVendorID& vendor,
                                const nuv::CVariant& value, COption* parent);
  template <class T>
  void _addPool(COptionType type, const char* name);

  CDHCPContext& m_context;
  std::size_t m_maxPoolSize = kDefaultMaxPoolSize;
  std::size_t m_increment = kDefaultPoolIncrement;
  std::array<COptionPoolBase*, COptionType::kCount> m_pools{};
};
