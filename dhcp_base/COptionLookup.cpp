#include "dhcp_base/COptionLookup.h"

#include "extended/CMasterController.h"
#include "standard/CException.h"

COptionLookup::COptionLookup(CMasterController* controller) : m_controller(controller) {
  clear();
}

const COptionAttributes::Ptr& COptionLookup::locate(const CTagPath& tagPath,
                                                    const CVendorID& vendor,
                                                    bool useFallback) const {
  auto it = m_index.find(COptionLookupHelper{tagPath, vendor});
  if (it != m_index.end()) return *it->second;
  if (!useFallback)
    NUV_THROW("COptionLookup::locate",
              nuv::CMessage("Cannot find attributes for tag %1, vendor id %2.")
                  .pushs(tagPath.string())
                  .pushs(vendor.string()),
              nuv::CMessage("No option with this tag/id exists."));
  if (m_controller && m_controller->log().debugEnabled())
    m_controller->log().log(8, nuv::CMessage("No definition for option %1, vendor id %2.")
                                   .pushs(tagPath.string())
                                   .pushs(vendor.string()));
  return COptionAttributes::unknown();
}

const COptionAttributes::Ptr& COptionLookup::locate(const std::string& name,
                                                    const CVendorID& vendor) const {
  const COptionAttributes::Ptr* best = nullptr;
  for (const auto& [key, def] : m_map)
    if (key.vendor == vendor && def->name == name &&
        (!best || key.tagPath.size() < (*best)->tagPath.size()))
      best = &def;
  if (!best)
    NUV_THROW("COptionLookup::locate",
              nuv::CMessage("Cannot find tag for option named '%1', vendor id %2.")
                  .pushs(name)
                  .pushs(vendor.string()),
              nuv::CMessage("No option with this name/id exists."));
  return *best;
}

const COptionAttributes::Ptr& COptionLookup::locate(const std::string& name,
                                                    const CTagPath& parentPath,
                                                    const CVendorID& vendor) const {
  for (const auto& [key, def] : m_map)
    if (key.vendor == vendor && def->name == name && key.tagPath.size() == parentPath.size() + 1 &&
        key.tagPath.startsWith(parentPath))
      return def;
  NUV_THROW("COptionLookup::locate",
            nuv::CMessage("Cannot find option named '%1', vendor id %2 in tagpath %3.")
                .pushs(name)
                .pushs(vendor.string())
                .pushs(parentPath.string()),
            nuv::CMessage("No option with this name/id exists at that path."));
}

bool COptionLookup::exists(const CTagPath& tagPath, const CVendorID& vendor) const {
  return m_map.find(Less::Ref{tagPath, vendor}) != m_map.end();
}

void COptionLookup::clear() {
  m_map.clear();
  m_index.clear();
  insert(COptionAttributes::optionStore());
}

std::string COptionLookup::string() const {
  std::string out;
  for (const auto& entry : m_map) {
    if (!out.empty()) out += "\n";
    out += entry.second->string();
  }
  return out;
}

void COptionLookup::destructiveMerge(const Map& map) {
  for (const auto& [key, def] : map) {
    auto& slot = m_map[key];
    slot = def;
    m_index[key] = &slot;
  }
}

void COptionLookup::insert(COptionAttributes::Ptr definition) {
  COptionLookupHelper key{definition->tagPath, definition->vendorId};
  auto& slot = m_map[key];
  slot = std::move(definition);
  m_index[key] = &slot;
}
