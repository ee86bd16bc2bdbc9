#pragma once
// The named statements of a database provider, read from its statement
// file ("sql_statements.spec") and the files that file includes.
//
// File format: records separated by empty lines; each line "key = value"
// (blanks around both removed, keys in any case); lines whose first
// non-blank character is "#" are comments. The first record of each file
// is its header and must hold "spec_name"; a header may name schema
// scripts with "schema = file.sql, ..." (relative to the file), run in
// order when the database is created. A record with "include = a.inc, ..."
// reads further statement files (relative to the including file; a
// directory includes its "*.inc" files in name order). Every other record is
// one statement with the keys "name", "group", "arg_names", "arg_types",
// "statement" (all required; the lists separated by ",") and optionally
// "precompile", "cursor_num", "function_name", "generic_args",
// "description". The SQL uses "?" placeholders in argument order.
//
// The table-group file ("sql_table_groups.spec") has records "group" and
// "tables"; when one is loaded, every statement's group must be in it.

#include <map>
#include <string>
#include <vector>

#include "oodb_persistence/CSqlStatementRecord.h"

class CSqlStatementSpec {
 public:
  // Reads a statement file and its includes; throws on a missing file or a
  // bad record (what-text naming the line, why-text the fault).
  void load(const std::string& path);
  // Reads a table-group file and checks the statements' groups against it.
  void loadTableGroups(const std::string& path);

  // The statement of a name, or null.
  const CSqlStatementRecord* find(const std::string& name) const;
  // The same; an unknown name throws "Unable to find precompiled statement '%1'.".
  const CSqlStatementRecord& get(const std::string& name) const;
  const std::map<std::string, CSqlStatementRecord>& records() const { return m_records; }
  // Schema scripts in the order they run.
  const std::vector<std::string>& schemaFiles() const { return m_schemaFiles; }
  // Files read, in reading order.
  const std::vector<std::string>& files() const { return m_files; }
  const std::map<std::string, std::vector<std::string>>& tableGroups() const { return m_groups; }

  // A statement name with the protocol family's digit after its stem:
  // familyName("binding", ".dom_bid", 6) is "binding6.dom_bid". A family
  // other than 4 or 6 throws "Cannot resolve sql statement name.".
  static std::string familyName(const std::string& stem, const std::string& rest, int family);

 private:
  void _readFile(const std::string& path, std::vector<std::string>& including);
  void _addRecord(const std::map<std::string, std::string>& keys, const std::string& file,
                  int line);

  std::map<std::string, CSqlStatementRecord> m_records;
  std::map<int, std::string> m_cursors;
  std::vector<std::string> m_schemaFiles;
  std::vector<std::string> m_files;
  std::map<std::string, std::vector<std::string>> m_groups;
};
