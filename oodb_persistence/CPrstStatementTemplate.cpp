#include "oodb_persistence/CPrstStatementTemplate.h"

#include <cctype>

#include "oodb/CPrstException.h"

namespace {

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (auto pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
    text.replace(pos, from.size(), to);
}

}  // namespace

std::string CPrstStatementTemplate::expand(const std::string& name, const std::string& text,
                                           const std::string& table,
                                           const std::vector<CPrstColumn>& columns,
                                           std::initializer_list<const char*> required) {
  for (const char* p : required)
    if (text.find(std::string("<<") + p + ">>") == std::string::npos)
      PRST_THROW(
          "CPrstStatementTemplate::expand",
          nuv::CMessage("Unable to find placeholder '<<%1>>' in sql statement template '%2'.")
              .pushs(p)
              .pushs(name),
          nuv::CMessage("Placeholder/SQL statement mismatch."));
  std::string fields, names, values, upper;
  for (const auto& c : columns) {
    const char* sep = names.empty() ? "" : ", ";
    fields += sep + c.name + " = ?";
    names += sep + c.name;
    values += std::string(sep) + "?";
  }
  for (char ch : table) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  std::string out = text;
  replaceAll(out, "<<TABLE>>", table);
  replaceAll(out, "<<UPPER_TABLE>>", upper);
  replaceAll(out, "<<FIELDS>>", fields);
  replaceAll(out, "<<FIELD_NAMES>>", names);
  replaceAll(out, "<<FIELD_VALUES>>", values);
  replaceAll(out, "<<PRIMARY_KEYS>>", "PK");
  replaceAll(out, "<<CONSTRAINTS>>", table + "_primary");
  return out;
}
