#pragma once
// Reads definition ("spec") files: records of "key = value" lines separated
// by empty lines. The first record of every file is its header and must
// hold "spec_name"; a record holding "include" names further files or
// directories (comma-separated, relative to the including file); every
// other record goes to the derived reader's record handler.
//
// Comment lines (first non-blank character '#') are dropped without ending
// a record; only an empty line ends one. Keys compare without regard to
// case; values are taken as written, blanks around them removed.

#include <string>
#include <vector>

#include "standard/CStringMap.h"

class CLogSink;

class CSpecFileReader {
 public:
  // pattern: the file names a directory include takes ("*.inc").
  explicit CSpecFileReader(std::string pattern = "*.inc", char comment = '#');
  virtual ~CSpecFileReader();

  // Reads path/file and everything it includes.
  void execute(const std::string& path, const std::string& file);

  // Where "Including file ..." notes go; none by default.
  void logSink(CLogSink* sink) { m_log = sink; }

  // A record's text as a key/value map; throws "Invalid record format." for
  // a line without "=" or with an empty key.
  static nuv::CStringMap parseRecord(const std::string& text);

 protected:
  // One definition record and the number of its first line.
  virtual void _processRecord(const std::string& record, unsigned line) = 0;

 private:
  void _readFile(const std::string& fullPath);
  void _include(const std::string& names, const std::string& fromFile);

  std::string m_pattern;
  char m_comment;
  CLogSink* m_log = nullptr;
  std::vector<std::string> m_stack;  // files being read, outermost first
};
