#pragma once
// One named statement of a statement file.

#include <optional>
#include <string>
#include <vector>

#include "oodb/CDBType.h"

struct CSqlStatementRecord {
  std::string name;
  std::string group;
  std::vector<std::string> argNames;
  std::vector<CDBType> argTypes;
  std::string statement;
  bool precompile = false;
  std::optional<int> cursorNum;
  std::string functionName;
  std::string genericArgs;
  std::string description;
  // Where it was read.
  std::string file;
  int line = 0;

  // True when the text has placeholders of the generic per-table form
  // ("<<TABLE>>"), to be filled for the prototype it runs for.
  bool isTemplate() const { return statement.find("<<") != std::string::npos; }
  // Statements whose names contain "dom" filter by the token's domains.
  bool isDomainFiltered() const { return name.find("dom") != std::string::npos; }
};
