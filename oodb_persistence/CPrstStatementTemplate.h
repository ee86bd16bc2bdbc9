#pragma once
// Fills the placeholders of a per-table statement template for one table:
// <<TABLE>>, <<UPPER_TABLE>>, <<FIELDS>> ("A = ?, B = ?"), <<FIELD_NAMES>>
// ("A, B"), <<FIELD_VALUES>> ("?, ?"), <<PRIMARY_KEYS>> ("PK") and
// <<CONSTRAINTS>> ("<table>_primary").

#include <initializer_list>
#include <string>
#include <vector>

#include "oodb/CPrstUserClassPrototype.h"

class CPrstStatementTemplate {
 public:
  // Throws "Unable to find placeholder '<<%1>>' in sql statement template
  // '%2'." when one of the required placeholders is not in the text.
  static std::string expand(const std::string& name, const std::string& text,
                            const std::string& table, const std::vector<CPrstColumn>& columns,
                            std::initializer_list<const char*> required = {});
};
