#include "dhcp_base/CVendorLookup.h"

#include "standard/CException.h"

const CVendorAttributes::Ptr& CVendorLookup::locate(const std::string& vendorClass) const {
  auto it = m_map.find(vendorClass);
  if (it == m_map.end())
    NUV_THROW("CVendorLookup::locate",
              nuv::CMessage("Cannot find attributes for vendor class '%1'.").pushs(vendorClass),
              nuv::CMessage("This vendor class is not defined."));
  return it->second;
}

const CVendorAttributes::Ptr& CVendorLookup::locate(std::int32_t enterpriseNumber,
                                                    const std::string& vendorClass) const {
  auto it = m_map.find(vendorClass);
  if (it == m_map.end() || it->second->vendorId != CVendorID{enterpriseNumber})
    NUV_THROW("CVendorLookup::locate",
              nuv::CMessage("Cannot find attributes for vendor %1, class '%2'.")
                  .push(enterpriseNumber)
                  .pushs(vendorClass),
              nuv::CMessage("This vendor class is not defined."));
  return it->second;
}

bool CVendorLookup::exists(const CVendorID& vendor) const {
  for (const auto& entry : m_map)
    if (entry.second->vendorId == vendor) return true;
  return false;
}

std::string CVendorLookup::string() const {
  std::string out;
  for (const auto& entry : m_map) {
    if (!out.empty()) out += "\n";
    out += entry.second->string();
  }
  return out;
}

void CVendorLookup::destructiveMerge(const Map& map) {
  for (const auto& [key, def] : map) m_map[key] = def;
}

void CVendorLookup::insert(CVendorAttributes::Ptr definition) {
  std::string key = definition->vendorClass;
  m_map[key] = std::move(definition);
}
