#pragma once
// One vendor-class definition: the enterprise number path of a vendor and
// the class name policies and resolvers use for it.

#include <memory>
#include <string>

#include "dhcp_base/CVendorID.h"

namespace nuv {
class CStringMap;
}

class CVendorAttributes {
 public:
  using Ptr = std::shared_ptr<const CVendorAttributes>;

  CVendorID vendorId = CVendorID::undefined();
  std::string vendorName;
  std::string vendorClass;
  std::string description;

  // "vendor_class" and "vendor_id" are required.
  void set(const nuv::CStringMap& record);
  void set(const std::string& text);
  std::string string() const;
};
