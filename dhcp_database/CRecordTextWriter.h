#pragma once
// Builds a record's text form: "key = value" lines in the record's key
// order. An option set is written one option per line under the key
// "option", so that every line stays one key and one value.

#include <string>
#include <utility>
#include <vector>

#include "standard/CStringMap.h"

class CPrstOptionStoreAttr;

class CRecordTextWriter {
 public:
  void add(const char* key, std::string value) { m_items.emplace_back(key, std::move(value)); }
  // The set's lines; an unreadable set (no context) is written as stored.
  void addOptions(const CPrstOptionStoreAttr& options);

  std::string string() const;
  // The keys and values as a map; the option lines are joined under "options".
  nuv::CStringMap map() const;

  // 4294967295 as "infinite", other lifetimes in decimal.
  static std::string lifetime(std::uint32_t seconds);

 private:
  std::vector<std::pair<std::string, std::string>> m_items;
};
