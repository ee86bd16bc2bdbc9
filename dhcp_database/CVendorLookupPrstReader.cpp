#include "dhcp_database/CVendorLookupPrstReader.h"

#include <set>

#include "dhcp_base/CVendorLookup.h"
#include "dhcp_database/CPrstDefinitionRecords.h"
#include "dhcp_database/CPrstVendorAttributes.h"

std::size_t CVendorLookupPrstReader::execute() {
  const auto records = prstSelectAll<CPrstVendorAttributes>(m_session);
  if (records.empty()) {
    definitionLog(m_context, nuv::sev_info,
                  nuv::CMessage("Database does not contain any vendor-class declarations."));
    return 0;
  }
  CVendorLookup::Map accepted;
  std::set<std::string> vendors, reported;
  for (const auto& r : records) {
    nuv::CStringMap fields(false);
    fields.set("vendor_id", r->vendorID());
    fields.set("vendor_class", r->vendorClass());
    if (!r->vendorName().empty()) fields.set("vendor_name", r->vendorName());
    if (!r->description().empty()) fields.set("description", r->description());
    auto def = std::make_shared<CVendorAttributes>();
    try {
      def->set(fields);
    } catch (const nuv::CException& e) {
      definitionLog(m_context, nuv::sev_warning,
                    nuv::CMessage("Ignoring stored declaration of vendor class '%1': %2")
                        .pushs(r->vendorClass())
                        .pushs(e.whyText()));
      continue;
    }
    const std::string vendor = def->vendorId.string();
    if (!vendors.insert(vendor).second && reported.insert(vendor).second)
      definitionLog(
          m_context, nuv::sev_warning,
          nuv::CMessage("Database contains multiple vendor-class declarations for vendor id %1.")
              .pushs(vendor));
    accepted[def->vendorClass] = std::move(def);
  }
  m_lookup.destructiveMerge(accepted);
  return accepted.size();
}
