#pragma once
// Reads vendor-class definition files into a vendor lookup, keyed by class.

#include "dhcp_base/CVendorLookup.h"
#include "extended/CSpecFileReader.h"

class CVendorLookupFileReader : public CSpecFileReader {
 public:
  explicit CVendorLookupFileReader(CVendorLookup& lookup) : m_lookup(lookup) {}
  void execute(const std::string& path, const std::string& file);
  void clear() { m_map.clear(); }

 protected:
  void _processRecord(const std::string& record, unsigned line) override;

 private:
  CVendorLookup& m_lookup;
  CVendorLookup::Map m_map;
};
