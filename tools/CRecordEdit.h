#pragma once
// The keys of one add or change, read from "key=value" command arguments
// or from a file of "key = value" lines. On the command line every
// "option=NAME = VALUE" adds or replaces one option and "-option=NAME"
// removes one; in a file the "option" lines make the whole option set.

#include <string>
#include <string_view>
#include <vector>

#include "standard/CStringMap.h"

struct CRecordEdit {
  nuv::CStringMap keys{false};
  std::vector<std::string> removedOptions;

  bool empty() const { return keys.empty() && removedOptions.empty(); }

  // Throws on an argument without "=".
  static CRecordEdit fromArguments(const std::vector<std::string>& args);
  static CRecordEdit fromText(std::string_view text);
};
