#include "dhcp_base/CDefinitionFiles.h"

#include <unistd.h>

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionLookupFileReader.h"
#include "dhcp_base/CVendorLookupFileReader.h"
#include "extended/CDHCPConfigNames.h"
#include "standard/CConfig.h"
#include "standard/CDataDir.h"

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
  return nuv::CDataDir::path() + "/" + name;
}

void CDefinitionFiles::readOptions(COptionLookup& lookup, const std::string& path) {
  read<COptionLookupFileReader>(lookup, path);
}

void CDefinitionFiles::readVendors(CVendorLookup& lookup, const std::string& path) {
  read<CVendorLookupFileReader>(lookup, path);
}

void CDefinitionFiles::readConfigured(CDHCPContext& context, const nuv::CConfig& config,
                                      const std::string& storageDir) {
  const auto file = [&](const std::string& key, const char* fallback) {
    return resolve(config.get(key, fallback), storageDir);
  };
  readOptions(context.optionLookup(), file(CDHCPConfigNames::optionsFile(6), "options6.spec"));
  readVendors(context.vendorLookup(), file(CDHCPConfigNames::vendorsFile(6), "vclasses6.spec"));
}
