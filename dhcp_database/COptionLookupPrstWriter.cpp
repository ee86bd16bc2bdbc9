#include "dhcp_database/COptionLookupPrstWriter.h"

#include <map>
#include <memory>
#include <set>

#include "dhcp_base/COptionLookup.h"
#include "dhcp_database/CPrstDefinitionRecords.h"
#include "dhcp_database/CPrstOptionAttributes.h"
#include "oodb/CPrstTransaction.h"

std::size_t COptionLookupPrstWriter::execute(bool allDefinitions) {
  std::unique_ptr<CPrstTransaction> tx;
  if (!m_session.inTransaction()) tx = std::make_unique<CPrstTransaction>(m_session);

  using Key = std::pair<std::string, std::string>;  // tag path, vendor
  std::map<Key, std::vector<CPrstUserClassPtr<CPrstOptionAttributes>>> stored;
  for (auto& r : prstSelectAll<CPrstOptionAttributes>(m_session))
    stored[{r->tagPath(), r->vendorID()}].push_back(r);

  std::size_t updated = 0, deleted = 0;
  auto remove = [&](const CPrstUserClassPtr<CPrstOptionAttributes>& r) {
    r->deletePersistent();
    r->commit();
    ++deleted;
  };
  std::set<Key> written;
  for (const auto& [key, def] : m_lookup) {
    if (def == m_lookup.optionStoreAttr()) continue;  // built in, never stored
    const CTagPath& path = key.tagPath;
    const bool site = path.size() == 1 && m_context.isSiteSpecificOption(path.tag());
    if (!allDefinitions && !site && !m_context.isVendorSpecificOption(path)) continue;
    const Key k{path.string(), key.vendor.string()};
    written.insert(k);
    auto& recs = stored[k];
    if (recs.size() > 1) {
      definitionLog(m_context, nuv::sev_warning,
                    nuv::CMessage("The database contains multiple declarations for option %1.")
                        .pushs(k.first));
      for (std::size_t i = 1; i < recs.size(); ++i) remove(recs[i]);
    }
    CPrstUserClassPtr<CPrstOptionAttributes> rec;
    if (recs.empty()) {
      rec = m_session.createTransient<CPrstOptionAttributes>();
      rec->domainMemberships({CDomainID::allUsers});
      rec->tagPath(k.first);
      rec->vendorID(k.second);
    } else {
      rec = recs.front();
    }
    const std::string text = def->string();
    if (!rec->isTransient() && rec->definition() == text && rec->name() == def->name) continue;
    rec->name(def->name);
    rec->definition(text);
    rec->commit();
    ++updated;
  }
  for (const auto& [k, recs] : stored)
    if (!written.count(k))
      for (const auto& r : recs) remove(r);
  if (deleted)
    definitionLog(m_context, nuv::sev_info,
                  nuv::CMessage("Deleted %1 option declaration(s) in the database.").push(deleted));
  if (tx) tx->commit();
  definitionLog(m_context, nuv::sev_info,
                nuv::CMessage("Updated %1 option declaration(s) in the database.").push(updated));
  return updated;
}
