#include "dhcp_database/COptionLookupPrstReader.h"

#include <algorithm>

#include "dhcp_base/COptionLookup.h"
#include "dhcp_database/CPrstDefinitionRecords.h"
#include "dhcp_database/CPrstOptionAttributes.h"

std::size_t COptionLookupPrstReader::execute() {
  const auto records = prstSelectAll<CPrstOptionAttributes>(m_session);
  if (records.empty()) {
    definitionLog(m_context, nuv::sev_info,
                  nuv::CMessage("Database does not contain any option attribute declarations."));
    return 0;
  }
  std::vector<COptionAttributes::Ptr> defs;
  for (const auto& r : records) {
    auto def = std::make_shared<COptionAttributes>();
    try {
      def->set(r->definition());
    } catch (const nuv::CException& e) {
      definitionLog(m_context, nuv::sev_warning,
                    nuv::CMessage("Ignoring stored declaration of option %1: %2")
                        .pushs(r->tagPath())
                        .pushs(e.whyText()));
      continue;
    }
    defs.push_back(std::move(def));
  }
  // Containers before what they contain.
  std::stable_sort(defs.begin(), defs.end(), [](const auto& a, const auto& b) {
    return a->tagPath.size() < b->tagPath.size();
  });
  COptionLookup::Map accepted;
  auto known = [&](const CTagPath& path, const CVendorID& vendor) {
    return m_lookup.exists(path, vendor) || accepted.count(COptionLookupHelper{path, vendor});
  };
  for (auto& def : defs) {
    const CTagPath& path = def->tagPath;
    const bool site = path.size() == 1 && m_context.isSiteSpecificOption(path.tag());
    const bool vendor = m_context.isVendorSpecificOption(path);
    if (!m_all && !site && !vendor) continue;
    if (!m_all && vendor) {
      CTagPath parent = path;
      parent.pop_back();
      if (!known(parent, def->vendorId) && !known(parent, CVendorID::reserved())) continue;
    }
    accepted[COptionLookupHelper{path, def->vendorId}] = std::move(def);
  }
  m_lookup.destructiveMerge(accepted);
  return accepted.size();
}
