#pragma once
// The vendor-class definitions, keyed by class name.

#include <map>
#include <string>

#include "dhcp_base/CVendorAttributes.h"

class CVendorLookup {
 public:
  using Map = std::map<std::string, CVendorAttributes::Ptr>;
  using const_iterator = Map::const_iterator;

  const CVendorAttributes::Ptr& locate(const std::string& vendorClass) const;
  const CVendorAttributes::Ptr& locate(std::int32_t enterpriseNumber,
                                       const std::string& vendorClass) const;
  bool exists(const CVendorID& vendor) const;
  bool exists(const std::string& vendorClass) const { return m_map.count(vendorClass) != 0; }

  const_iterator begin() const { return m_map.begin(); }
  const_iterator end() const { return m_map.end(); }
  std::size_t size() const { return m_map.size(); }
  void clear() { m_map.clear(); }
  std::string string() const;
  void destructiveMerge(const Map& map);
  void insert(CVendorAttributes::Ptr definition);

 private:
  Map m_map;
};
