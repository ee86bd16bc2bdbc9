#pragma once
// Where the option and vendor definition files a configuration names are
// found, and reading them into a context's lookups. Includes are resolved
// next to the file that names them.

#include <string>

class CDHCPContext;
class COptionLookup;
class CVendorLookup;
namespace nuv {
class CConfig;
}

class CDefinitionFiles {
 public:
  // An absolute name as it is; a relative one in storageDir when the
  // operator keeps a copy there, else among the files that come with the
  // server.
  static std::string resolve(const std::string& name, const std::string& storageDir);
  static void readOptions(COptionLookup& lookup, const std::string& path);
  static void readVendors(CVendorLookup& lookup, const std::string& path);
  // Both files a configuration names (defaults "options6.spec" and
  // "vclasses6.spec") into the context's lookups.
  static void readConfigured(CDHCPContext& context, const nuv::CConfig& config,
                             const std::string& storageDir);
};
