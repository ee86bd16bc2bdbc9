#pragma once
// Where the files that come with the server are (option and vendor
// definitions, SQL statements and schemas): in an installed tree the data
// folder that the install put beside the library folder holding this
// library ("<prefix>/share/dhcp6d" for "<prefix>/lib/dhcp6d"), so that a
// tree installed under any prefix finds its own; in a build tree, which
// has no such folder, the source tree's data/ folder.

#include <string>

namespace nuv {

class CDataDir {
 public:
  // Found once; the same for the whole process.
  static const std::string& path();
};

}  // namespace nuv
