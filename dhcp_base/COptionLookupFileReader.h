#pragma once
// Reads option definition files into an option lookup. A file is read
// whole (with its includes) before anything is merged, so a refused file
// changes nothing; within it a later record wins over an earlier one with
// the same (tag path, vendor) key.

#include "dhcp_base/COptionLookup.h"
#include "extended/CSpecFileReader.h"

class COptionLookupFileReader : public CSpecFileReader {
 public:
  // Notes go to the process log of the lookup's controller, if any.
  explicit COptionLookupFileReader(COptionLookup& lookup);
  void execute(const std::string& path, const std::string& file);
  void clear() { m_map.clear(); }

 protected:
  void _processRecord(const std::string& record, unsigned line) override;

 private:
  COptionLookup& m_lookup;
  COptionLookup::Map m_map;
};
