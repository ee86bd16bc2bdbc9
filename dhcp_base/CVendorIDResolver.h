#pragma once
// Decides the vendor identity under which the children of a container are
// read or created, from the container definition's "context_vendor_id":
//   "<17/1>"  the value of a resolver option at that tag path: a number is
//             an enterprise number, a text a vendor class name;
//   "[...]"   an expression whose first result is taken the same way;
//   "4491"    a literal enterprise number (decimal, 0x hex, 0 octal);
//   empty     the current identity.
// The resolver option is looked for first below the container's own
// ancestors (so each Vendor-specific Information option uses its own
// enterprise number even while the message is still being read), then
// from the top of the option set.

#include "dhcp_base/CTagPath.h"
#include "dhcp_base/CVendorID.h"
#include "standard/CVariant.h"

class COption;
class COptionStore;

class CVendorIDResolver {
 public:
  CVendorIDResolver(const COption& option, const COptionStore* topStore)
      : m_option(option), m_top(topStore) {}

  CVendorID find(const CVendorID& currentVendor) const;

 private:
  const COption* _resolverOption(const CTagPath& path) const;
  CVendorID _fromVariant(const nuv::CVariant& value) const;

  const COption& m_option;
  const COptionStore* m_top;
};
