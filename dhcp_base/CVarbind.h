#pragma once
// An SNMP variable binding as options carry it: object identifier, value
// type name and value text. Text form "oid;type=value".

#include <optional>
#include <string>
#include <string_view>

struct CVarbind {
  std::string oid;
  std::string type;
  std::string value;

  // Nothing when the text is not "oid;type=value" with a non-empty oid and type.
  static std::optional<CVarbind> fromText(std::string_view text);
  std::string string() const { return oid + ";" + type + "=" + value; }
  bool operator==(const CVarbind& o) const {
    return oid == o.oid && type == o.type && value == o.value;
  }
};
