#include "dhcp_base/CDefinitionFiles.h"

#include <unistd.h>

#include "dhcp_base/COptionLookupFileReader.h"
#include "dhcp_base/CVendorLookupFileReader.h"

namespace {
template <class Reader, class Lookup>
void read(Lookup& lookup, const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    Reader(lookup).execute(".", path);
  else
    Reader(lookup).execute(path.substr(0, slash), path.substr(slash + 1));
}
}  // namespace

std::string CDefinitionFiles::resolve(const std::string& name, const std::string& storageDir) {
  if (!name.empty() && name.front() == '/') return name;
  const std::string local = storageDir + "/" + name;
  if (::access(local.c_str(), R_OK) == 0) return local;
  return std::string(NUV_DATA_DIR) + "/" + name;
}

void CDefinitionFiles::readOptions(COptionLookup& lookup, const std::string& path) {
  read<COptionLookupFileReader>(lookup, path);
}

void CDefinitionFiles::readVendors(CVendorLookup& lookup, const std::string& path) {
  read<CVendorLookupFileReader>(lookup, path);
}
