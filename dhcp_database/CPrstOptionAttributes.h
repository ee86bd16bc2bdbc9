#pragma once
// A stored option definition (table dhcp_option_attributes6): its key
// (TAGPATH, VENDOR_ID, in their text forms), its NAME and the whole
// definition record text (DEFINITION), so that management tools and
// servers share the definitions users added. Stored in the all-users
// domain.

#include <string>

#include "oodb/CPersistentSecuredObject.h"

class CPrstOptionAttributes : public CPersistentSecuredObject {
  PRST_CLASS(CPrstOptionAttributes)

 public:
  static constexpr const char* kTable = "dhcp_option_attributes6";

  const std::string& tagPath() const { return m_tagPath.get(); }
  void tagPath(std::string v) { m_tagPath.set(std::move(v)); }
  const std::string& vendorID() const { return m_vendorID.get(); }
  void vendorID(std::string v) { m_vendorID.set(std::move(v)); }
  const std::string& name() const { return m_name.get(); }
  void name(std::string v) { m_name.set(std::move(v)); }
  const std::string& definition() const { return m_definition.get(); }
  void definition(std::string v) { m_definition.set(std::move(v)); }

 private:
  CPrstAttr<std::string> m_tagPath{this, "TAGPATH"};
  CPrstAttr<std::string> m_vendorID{this, "VENDOR_ID"};
  CPrstAttr<std::string> m_name{this, "NAME"};
  CPrstAttr<std::string> m_definition{this, "DEFINITION", CDBType::textBlob};
};
