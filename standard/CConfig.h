#pragma once
// The process configuration: key names compare without regard to case.
// Text form: one "key = value" per line; '#' starts a comment line; blank
// lines are skipped; the value is everything after the first '=', trimmed.
// A later line for the same key replaces the earlier one.

#include <istream>
#include <string>

#include "standard/CStringMap.h"

namespace nuv {

class CConfig : public CStringMap {
 public:
  CConfig() : CStringMap(false) {}

  // origin names the source in error messages (a file path, "<string>").
  static CConfig parse(std::istream& in, const std::string& origin);
  static CConfig load(const std::string& path);
};

}  // namespace nuv
