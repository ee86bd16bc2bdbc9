#pragma once
// A stored vendor-class definition (table dhcp_vendor_classes6), one column
// per field. Stored in the all-users domain.

#include <string>

#include "oodb/CPersistentSecuredObject.h"

class CPrstVendorAttributes : public CPersistentSecuredObject {
  PRST_CLASS(CPrstVendorAttributes)

 public:
  static constexpr const char* kTable = "dhcp_vendor_classes6";

  const std::string& vendorID() const { return m_vendorID.get(); }
  void vendorID(std::string v) { m_vendorID.set(std::move(v)); }
  const std::string& vendorName() const { return m_vendorName.get(); }
  void vendorName(std::string v) { m_vendorName.set(std::move(v)); }
  const std::string& vendorClass() const { return m_vendorClass.get(); }
  void vendorClass(std::string v) { m_vendorClass.set(std::move(v)); }
  const std::string& description() const { return m_description.get(); }
  void description(std::string v) { m_description.set(std::move(v)); }

 private:
  CPrstAttr<std::string> m_vendorID{this, "VENDOR_ID"};
  CPrstAttr<std::string> m_vendorName{this, "VENDOR_NAME"};
  CPrstAttr<std::string> m_vendorClass{this, "VENDOR_CLASS"};
  CPrstAttr<std::string> m_description{this, "DESCRIPTION"};
};
