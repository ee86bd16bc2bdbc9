#include "oodb_persistence/CSqlStatementSpec.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "oodb/CPrstException.h"
#include "standard/StringUtil.h"

namespace {

using Keys = std::map<std::string, std::string>;

constexpr const char* kRequired[] = {"name", "group", "arg_names", "arg_types", "statement"};
constexpr const char* kOptional[] = {"precompile", "cursor_num", "function_name", "generic_args",
                                     "description"};

[[noreturn]] void badRecord(int line, nuv::CMessage why) {
  PRST_THROW("CSqlStatementSpec::load",
             nuv::CMessage("Invalid record at line %1 in sql statement spec file.").push(line),
             std::move(why));
}

std::string dirOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string joinPath(const std::string& dir, const std::string& name) {
  return !name.empty() && name[0] == '/' ? name : dir + "/" + name;
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> listItems(const std::string& text) {
  std::vector<std::string> out;
  if (nuv::trim(text).empty()) return out;
  for (const auto& item : nuv::split(text, ',')) out.push_back(nuv::trim(item));
  return out;
}

// "?" placeholders outside quoted literals.
std::size_t countPlaceholders(const std::string& sql) {
  std::size_t n = 0;
  bool quoted = false;
  for (char c : sql) {
    if (c == '\'') quoted = !quoted;
    if (c == '?' && !quoted) ++n;
  }
  return n;
}

// Records of a file as key maps with the line each starts on.
struct Record {
  Keys keys;
  int line = 0;
};

std::vector<Record> readRecords(const std::string& path) {
  std::ifstream in(path);
  if (!in)
    PRST_THROW("CSqlStatementSpec::load",
               nuv::CMessage("Cannot locate sql spec file '%1'.").pushs(path),
               nuv::CMessage("No such file."));
  std::vector<Record> records;
  Record current;
  std::string line;
  int lineNo = 0;
  auto flush = [&] {
    if (!current.keys.empty()) records.push_back(std::move(current));
    current = Record();
  };
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string t = nuv::trim(line);
    if (t.empty()) {
      flush();
      continue;
    }
    if (t[0] == '#') continue;
    const auto eq = t.find('=');
    if (eq == std::string::npos) badRecord(lineNo, nuv::CMessage("Invalid record format."));
    if (current.keys.empty()) current.line = lineNo;
    current.keys[nuv::toLower(nuv::trim(std::string_view(t).substr(0, eq)))] =
        nuv::trim(std::string_view(t).substr(eq + 1));
  }
  flush();
  return records;
}

}  // namespace

void CSqlStatementSpec::load(const std::string& path) {
  std::vector<std::string> including;
  _readFile(path, including);
}

void CSqlStatementSpec::_readFile(const std::string& path, std::vector<std::string>& including) {
  if (std::find(including.begin(), including.end(), path) != including.end())
    PRST_THROW("CSqlStatementSpec::load",
               nuv::CMessage("Include directive for file %1 in spec file %2 is recursive.")
                   .pushs(path)
                   .pushs(including.back()),
               nuv::CMessage("Recursive include."));
  const auto records = readRecords(path);
  if (records.empty() || !records.front().keys.count("spec_name"))
    PRST_THROW("CSqlStatementSpec::load",
               nuv::CMessage("File %1 is not a valid spec file.").pushs(path),
               nuv::CMessage("Missing header key 'spec_name'."));
  m_files.push_back(path);
  including.push_back(path);
  const std::string dir = dirOf(path);
  for (std::size_t i = 1; i < records.size(); ++i) {
    const auto& r = records[i];
    auto inc = r.keys.find("include");
    if (inc == r.keys.end()) {
      _addRecord(r.keys, path, r.line);
      continue;
    }
    for (const auto& name : listItems(inc->second)) {
      const std::string target = joinPath(dir, name);
      if (!isDirectory(target)) {
        _readFile(target, including);
        continue;
      }
      std::vector<std::string> files;
      if (DIR* d = opendir(target.c_str())) {
        while (dirent* e = readdir(d)) {
          const std::string n = e->d_name;
          if (n.size() > 4 && n.compare(n.size() - 4, 4, ".inc") == 0)
            files.push_back(target + "/" + n);
        }
        closedir(d);
      }
      std::sort(files.begin(), files.end());
      for (const auto& f : files) _readFile(f, including);
    }
  }
  // A file's own schema runs after that of the files it includes.
  auto schema = records.front().keys.find("schema");
  if (schema != records.front().keys.end())
    for (const auto& name : listItems(schema->second)) m_schemaFiles.push_back(joinPath(dir, name));
  including.pop_back();
}

void CSqlStatementSpec::_addRecord(const Keys& keys, const std::string& file, int line) {
  for (const char* k : kRequired)
    if (!keys.count(k)) badRecord(line, nuv::CMessage("Missing key '%1'.").pushs(k));
  for (const auto& entry : keys) {
    const std::string& key = entry.first;
    const bool known =
        std::find_if(std::begin(kRequired), std::end(kRequired),
                     [&](const char* k) { return key == k; }) != std::end(kRequired) ||
        std::find_if(std::begin(kOptional), std::end(kOptional),
                     [&](const char* k) { return key == k; }) != std::end(kOptional);
    if (!known) badRecord(line, nuv::CMessage("Unrecognized key '%1'.").pushs(key));
  }
  CSqlStatementRecord r;
  r.name = keys.at("name");
  r.group = keys.at("group");
  r.argNames = listItems(keys.at("arg_names"));
  r.statement = keys.at("statement");
  r.file = file;
  r.line = line;
  for (const auto& token : listItems(keys.at("arg_types"))) {
    auto type = dbTypeFromToken(token);
    if (!type) badRecord(line, nuv::CMessage("Unrecognized type '%1'.").pushs(token));
    r.argTypes.push_back(*type);
  }
  if (r.name.empty()) badRecord(line, nuv::CMessage("Missing key 'name'."));
  if (r.argNames.size() != r.argTypes.size())
    badRecord(line, nuv::CMessage("%1 argument names for %2 argument types.")
                        .push(r.argNames.size())
                        .push(r.argTypes.size()));
  if (!r.isTemplate() && countPlaceholders(r.statement) != r.argNames.size())
    badRecord(line, nuv::CMessage("%1 placeholders for %2 arguments.")
                        .push(countPlaceholders(r.statement))
                        .push(r.argNames.size()));
  if (auto p = keys.find("precompile"); p != keys.end()) {
    const std::string v = nuv::toLower(p->second);
    if (v != "true" && v != "false")
      badRecord(line, nuv::CMessage("Invalid value for key 'precompile'."));
    r.precompile = v == "true";
  }
  if (auto c = keys.find("cursor_num"); c != keys.end()) {
    try {
      r.cursorNum = std::stoi(c->second);
    } catch (const std::exception&) {
      badRecord(line, nuv::CMessage("Invalid value for key 'cursor_num'."));
    }
    if (!m_cursors.emplace(*r.cursorNum, r.name).second)
      PRST_THROW("CSqlStatementSpec::load",
                 nuv::CMessage("Duplicate sql cursor number at line %1 in sql statement spec file.")
                     .push(line),
                 nuv::CMessage("Cursor numbers overlap."));
  }
  if (auto f = keys.find("function_name"); f != keys.end()) r.functionName = f->second;
  if (auto g = keys.find("generic_args"); g != keys.end()) r.genericArgs = g->second;
  if (auto d = keys.find("description"); d != keys.end()) r.description = d->second;
  if (m_records.count(r.name))
    PRST_THROW("CSqlStatementSpec::load",
               nuv::CMessage("Attempt to insert statement '%1' twice.").pushs(r.name),
               nuv::CMessage("Invalid record at line %1 in sql statement spec file.").push(line));
  std::string name = r.name;
  m_records.emplace(std::move(name), std::move(r));
}

void CSqlStatementSpec::loadTableGroups(const std::string& path) {
  const auto records = readRecords(path);
  if (records.empty() || !records.front().keys.count("spec_name"))
    PRST_THROW("CSqlStatementSpec::loadTableGroups",
               nuv::CMessage("File %1 is not a valid spec file.").pushs(path),
               nuv::CMessage("Missing header key 'spec_name'."));
  for (std::size_t i = 1; i < records.size(); ++i) {
    const auto& k = records[i].keys;
    if (!k.count("group") || !k.count("tables"))
      PRST_THROW(
          "CSqlStatementSpec::loadTableGroups",
          nuv::CMessage("Invalid record at line %1 in sql table group spec file.")
              .push(records[i].line),
          nuv::CMessage(k.count("group") ? "Missing key 'tables'." : "Missing key 'group'."));
    m_groups[k.at("group")] = listItems(k.at("tables"));
  }
  for (const auto& [name, r] : m_records)
    if (!m_groups.count(r.group))
      PRST_THROW(
          "CSqlStatementSpec::loadTableGroups",
          nuv::CMessage("Invalid record at line %1 in sql statement spec file.").push(r.line),
          nuv::CMessage("Unknown group '%1'.").pushs(r.group));
}

const CSqlStatementRecord* CSqlStatementSpec::find(const std::string& name) const {
  auto it = m_records.find(name);
  return it == m_records.end() ? nullptr : &it->second;
}

const CSqlStatementRecord& CSqlStatementSpec::get(const std::string& name) const {
  if (const auto* r = find(name)) return *r;
  PRST_THROW("CSqlStatementSpec::get",
             nuv::CMessage("Unable to find precompiled statement '%1'.").pushs(name),
             nuv::CMessage("No such statement."));
}

std::string CSqlStatementSpec::familyName(const std::string& stem, const std::string& rest,
                                          int family) {
  if (family != 4 && family != 6)
    PRST_THROW("CSqlStatementSpec::familyName", nuv::CMessage("Cannot resolve sql statement name."),
               nuv::CMessage("Unknown protocol family."));
  return stem + std::to_string(family) + rest;
}
