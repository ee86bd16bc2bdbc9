#include "extended/CSpecFileReader.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "extended/CLogSink.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace fs = std::filesystem;

CSpecFileReader::CSpecFileReader(std::string pattern, char comment)
    : m_pattern(std::move(pattern)), m_comment(comment) {}

CSpecFileReader::~CSpecFileReader() = default;

nuv::CStringMap CSpecFileReader::parseRecord(const std::string& text) {
  nuv::CStringMap map(false);
  for (const std::string& raw : nuv::split(text, '\n')) {
    std::string line = nuv::trim(raw);
    if (line.empty()) continue;
    const std::size_t eq = line.find('=');
    std::string key = eq == std::string::npos ? std::string() : nuv::trim(line.substr(0, eq));
    if (key.empty())
      NUV_THROW("CSpecFileReader::parseRecord",
                nuv::CMessage("Cannot read record line '%1'.").pushs(line),
                nuv::CMessage("Invalid record format."));
    map.set(key, nuv::trim(line.substr(eq + 1)));
  }
  return map;
}

void CSpecFileReader::execute(const std::string& path, const std::string& file) {
  m_stack.clear();
  const fs::path full = path.empty() ? fs::path(file) : fs::path(path) / file;
  _readFile(full.string());
}

void CSpecFileReader::_readFile(const std::string& fullPath) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(fullPath, ec);
  const std::string id = ec ? fullPath : canonical.string();
  if (std::find(m_stack.begin(), m_stack.end(), id) != m_stack.end())
    NUV_THROW("CSpecFileReader::_readFile",
              nuv::CMessage("Include directive for file %1 in spec file %2 is recursive.")
                  .pushs(fullPath)
                  .pushs(m_stack.empty() ? std::string() : m_stack.back()),
              nuv::CMessage("Circular include."));
  std::ifstream in(fullPath);
  if (!in || fs::is_directory(fullPath, ec))
    NUV_THROW("CSpecFileReader::_readFile",
              nuv::CMessage("Cannot open spec file '%1'.").pushs(fullPath),
              nuv::CMessage("The file does not exist or cannot be read."));
  m_stack.push_back(id);

  std::string record;
  unsigned recordLine = 0;
  unsigned lineNo = 0;
  bool header = true;
  // A failure inside a record names the file and the record's first line.
  auto guarded = [&](auto&& step) {
    try {
      return step();
    } catch (const nuv::CException& e) {
      NUV_THROW("CSpecFileReader::_readFile",
                nuv::CMessage("Error processing spec file %1 at line %2.")
                    .pushs(fullPath)
                    .push(recordLine),
                nuv::CMessage(e.whyText()));
    }
  };
  auto flush = [&]() {
    if (record.empty()) return;
    std::string text;
    text.swap(record);
    const nuv::CStringMap map = guarded([&] { return parseRecord(text); });
    if (header) {
      header = false;
      if (!map.has("spec_name"))
        NUV_THROW("CSpecFileReader::_readFile",
                  nuv::CMessage("File %1 is not a valid spec file.").pushs(fullPath),
                  nuv::CMessage("Missing header key 'spec_name'."));
      if (map.has("include")) _include(map.get("include"), fullPath);
    } else if (map.has("include")) {
      _include(map.get("include"), fullPath);
    } else {
      guarded([&] { _processRecord(text, recordLine); });
    }
  };

  std::string raw;
  while (std::getline(in, raw)) {
    ++lineNo;
    // Leading blanks and tabs; trailing blanks, CR, LF and tabs.
    const std::size_t first = raw.find_first_not_of(" \t");
    if (first == std::string::npos) {
      flush();
      continue;
    }
    const std::size_t last = raw.find_last_not_of(" \t\r\n");
    if (last == std::string::npos || last < first) {
      flush();
      continue;
    }
    std::string_view line(raw.data() + first, last - first + 1);
    if (line.front() == m_comment) continue;
    if (record.empty()) recordLine = lineNo;
    record.append(line).push_back('\n');
  }
  flush();
  if (header)
    NUV_THROW("CSpecFileReader::_readFile",
              nuv::CMessage("File %1 is not a valid spec file.").pushs(fullPath),
              nuv::CMessage("Missing header key 'spec_name'."));
  m_stack.pop_back();
}

void CSpecFileReader::_include(const std::string& names, const std::string& fromFile) {
  const fs::path dir = fs::path(fromFile).parent_path();
  for (const std::string& raw : nuv::split(names, ',')) {
    const std::string name = nuv::trim(raw);
    if (name.empty()) continue;
    const fs::path target = fs::path(name).is_absolute() ? fs::path(name) : dir / name;
    if (m_log)
      m_log->log(1, nuv::CMessage("Including file %1 in spec file %2.")
                        .pushs(target.string())
                        .pushs(fromFile));
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
      std::vector<std::string> files;
      for (const auto& entry : fs::directory_iterator(target, ec))
        if (entry.is_regular_file() &&
            fnmatch(m_pattern.c_str(), entry.path().filename().c_str(), 0) == 0)
          files.push_back(entry.path().string());
      std::sort(files.begin(), files.end());
      for (const std::string& f : files) _readFile(f);
    } else {
      _readFile(target.string());
    }
  }
}
