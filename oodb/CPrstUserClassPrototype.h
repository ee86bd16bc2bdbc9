#pragma once
// The prototype of a persistent class: its name, its table, its stored
// columns with their type tokens (the record layout: the
// attributes' types, overridden per column by the proxy arguments) and the
// creator of its instances.

#include <functional>
#include <string>
#include <vector>

#include "oodb/CDBType.h"
#include "standard/CGeneralPtr.h"

class CIPrstSession;
class CPrstUserBase;

// A table's record layout: its name and the column type overrides.
struct CPrstProxyArgs {
  std::string table;
  CDBTypeStringMap overrides;
};

struct CPrstColumn {
  std::string name;
  std::string typeToken;
};

class CPrstUserClassPrototype {
 public:
  using Creator = std::function<nuv::CGeneralPtr<CPrstUserBase>()>;

  CPrstUserClassPrototype(std::string name, CPrstProxyArgs args, Creator creator);

  const std::string& name() const { return m_name; }
  const std::string& table() const { return m_args.table; }
  // Stored columns in attribute order (PK not included).
  const std::vector<CPrstColumn>& columns() const { return m_columns; }
  bool secured() const { return m_secured; }

  // A new transient instance bound to the session (which may be null).
  nuv::CGeneralPtr<CPrstUserBase> create(CIPrstSession* session) const;

 private:
  std::string m_name;
  CPrstProxyArgs m_args;
  Creator m_creator;
  std::vector<CPrstColumn> m_columns;
  bool m_secured = false;
};
