#include "standard/CConfig.h"

#include <sys/stat.h>

#include <cerrno>
#include <fstream>

#include "standard/CException.h"
#include "standard/CSecretMask.h"
#include "standard/StringUtil.h"

namespace nuv {

CConfig CConfig::parse(std::istream& in, const std::string& origin) {
  CConfig config;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string text = trim(line);
    if (text.empty() || text[0] == '#') continue;
    const auto eq = text.find('=');
    const std::string key = eq == std::string::npos ? std::string() : trim(text.substr(0, eq));
    if (key.empty()) {
      // "system.db.password hunter2": the name is shown, a secret is not.
      const std::string name = text.substr(0, text.find_first_of(" \t"));
      const std::string shown =
          CSecretMask::isSecretKey(name) && name != text ? name + " " + CSecretMask::kMask : text;
      NUV_THROW("CConfig::parse",
                CMessage("Cannot read configuration '%1' at line %2.").pushs(origin).push(lineNo),
                CMessage("Expected 'key = value', found '%1'.").pushs(shown));
    }
    config.set(key, trim(text.substr(eq + 1)));
  }
  return config;
}

CConfig CConfig::load(const std::string& path) {
  // A directory opens as a stream that reads nothing: it would pass as an
  // empty configuration.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
    NUV_THROW("CConfig::load", CMessage("Cannot open configuration file '%1'.").pushs(path),
              CMessage("It is a directory."));
  std::ifstream in(path);
  if (!in)
    NUV_THROW_ERRNO("CConfig::load", CMessage("Cannot open configuration file '%1'.").pushs(path),
                    errno);
  return parse(in, path);
}

}  // namespace nuv
