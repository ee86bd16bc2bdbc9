#include "extended/CPlugin.h"

#include "standard/StringUtil.h"

bool CPlugin::conformsToInterface(const std::string& name) const {
  for (const std::string& item : nuv::split(pluginInterface(), ',')) {
    // Only blanks are trimmed: names compare case-sensitively.
    const auto first = item.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    const auto last = item.find_last_not_of(' ');
    if (item.compare(first, last - first + 1, name) == 0) return true;
  }
  return false;
}
