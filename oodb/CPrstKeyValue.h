#pragma once
// A named text value kept in the database (table nuv_key_values): settings
// and markers that management tools and servers share. Secured: visible to
// the tokens of its domains.

#include <string>

#include "oodb/CPersistentSecuredObject.h"

class CPrstKeyValue : public CPersistentSecuredObject {
  PRST_CLASS(CPrstKeyValue)

 public:
  static constexpr const char* kTable = "nuv_key_values";

  const std::string& name() const { return m_name.get(); }
  void name(std::string v) { m_name.set(std::move(v)); }
  const std::string& value() const { return m_value.get(); }
  void value(std::string v) { m_value.set(std::move(v)); }

 private:
  CPrstAttr<std::string> m_name{this, "NAME"};
  CPrstAttr<std::string> m_value{this, "VALUE", CDBType::textBlob};
};
