#include "dhcp_base/CVendorAttributes.h"

#include "extended/CSpecFileReader.h"
#include "standard/CException.h"
#include "standard/CStringMap.h"

void CVendorAttributes::set(const nuv::CStringMap& r) {
  for (const char* key : {"vendor_class", "vendor_id"})
    if (!r.has(key))
      NUV_THROW("CVendorAttributes::set", nuv::CMessage("Invalid vendor class data."),
                nuv::CMessage("A vendor class definition must include a '%1' setting.").pushs(key));
  CVendorAttributes a;
  a.vendorId.set(r.get("vendor_id"));
  a.vendorName = r.get("vendor_name");
  a.vendorClass = r.get("vendor_class");
  a.description = r.get("description");
  *this = std::move(a);
}

void CVendorAttributes::set(const std::string& text) {
  set(CSpecFileReader::parseRecord(text));
}

std::string CVendorAttributes::string() const {
  std::string out = "vendor_id = " + vendorId.string() + "\nvendor_class = " + vendorClass + "\n";
  if (!vendorName.empty()) out += "vendor_name = " + vendorName + "\n";
  if (!description.empty()) out += "description = " + description + "\n";
  return out;
}
