#pragma once
// The kinds of record the admin tool edits: their names on the command
// line, their persistent class and table, the key an operator names one
// by, and the text-form keys they accept.

#include <string>
#include <string_view>
#include <vector>

struct CRecordKind {
  const char* name;       // "policy", as in "show policy NAME"
  const char* plural;     // "policies", as in "list policies"
  const char* prototype;  // the persistent class
  const char* table;      // the table its object events name
  const char* keyName;    // the text-form key that names one record
  const char* byKey;      // the statement selecting by that key (unsecured)
  const char* keyArg;     // the statement's argument
  bool binding;           // a lease: looked up by address
  // New records without a "domains" key join the all-devices domain, so
  // that the server's device tokens see them.
  bool allDevicesByDefault;
  std::vector<std::string> keys;  // accepted keys, lower case

  // The kind named by its singular or plural word; null when none is.
  static const CRecordKind* find(std::string_view word);
  static const std::vector<CRecordKind>& all();

  bool accepts(std::string_view key) const;
  // The accepted keys joined by ", ".
  std::string keyList() const;
};
