#include "dhcp_database/CVendorLookupPrstWriter.h"

#include <map>
#include <memory>

#include "dhcp_base/CVendorLookup.h"
#include "dhcp_database/CPrstDefinitionRecords.h"
#include "dhcp_database/CPrstVendorAttributes.h"
#include "oodb/CPrstTransaction.h"

std::size_t CVendorLookupPrstWriter::execute(bool) {
  std::unique_ptr<CPrstTransaction> tx;
  if (!m_session.inTransaction()) tx = std::make_unique<CPrstTransaction>(m_session);

  std::map<std::string, std::vector<CPrstUserClassPtr<CPrstVendorAttributes>>> stored;
  for (auto& r : prstSelectAll<CPrstVendorAttributes>(m_session))
    stored[r->vendorClass()].push_back(r);
  auto remove = [](const CPrstUserClassPtr<CPrstVendorAttributes>& r) {
    r->deletePersistent();
    r->commit();
  };

  std::size_t updated = 0;
  for (const auto& [vendorClass, def] : m_lookup) {
    auto it = stored.find(vendorClass);
    CPrstUserClassPtr<CPrstVendorAttributes> rec;
    if (it == stored.end() || it->second.empty()) {
      rec = m_session.createTransient<CPrstVendorAttributes>();
      rec->domainMemberships({CDomainID::allUsers});
      rec->vendorClass(vendorClass);
    } else {
      rec = it->second.front();
      for (std::size_t i = 1; i < it->second.size(); ++i) remove(it->second[i]);
      stored.erase(it);
    }
    const std::string vendor = def->vendorId.string();
    if (!rec->isTransient() && rec->vendorID() == vendor && rec->vendorName() == def->vendorName &&
        rec->description() == def->description)
      continue;
    rec->vendorID(vendor);
    rec->vendorName(def->vendorName);
    rec->description(def->description);
    rec->commit();
    ++updated;
  }
  for (const auto& [vendorClass, recs] : stored)
    for (const auto& r : recs) remove(r);
  if (tx) tx->commit();
  definitionLog(
      m_context, nuv::sev_info,
      nuv::CMessage("Updated %1 vendor-class declaration(s) in the database.").push(updated));
  return updated;
}
