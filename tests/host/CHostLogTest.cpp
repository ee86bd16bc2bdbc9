#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/CHostLog.h"
#include "standard/CException.h"
#include "tests/fixtures/TempPath.h"

namespace {
std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

TEST(CHostLogTest, FileTargetKeepsOnlyConfiguredLevels) {
  const std::string path = tempPath("hostlog_levels.log");
  std::remove(path.c_str());
  nuv::CConfig config;
  config.set("system.log.targets", "file");
  config.set("system.log.target.file", path);
  config.set("system.log.levels", "error, debug");
  CHostLog log("dhcp");
  log.configure(config);
  EXPECT_TRUE(log.debugEnabled());
  EXPECT_FALSE(log.verboseEnabled());
  log.log(nuv::sev_info, nuv::CMessage("dropped"));
  log.log(nuv::sev_error, nuv::CMessage("kept %1").pushs("error"), ENOENT);
  log.log(nuv::sev_debug, nuv::CMessage("kept debug"));
  const std::string text = readFile(path);
  EXPECT_EQ(text.find("dropped"), std::string::npos);
  EXPECT_NE(text.find(" dhcp error: kept error (No such file or directory)\n"), std::string::npos);
  EXPECT_NE(text.find(" dhcp debug: kept debug\n"), std::string::npos);
}

TEST(CHostLogTest, TextFromOutsideCannotStartALineOfItsOwn) {
  const std::string path = tempPath("hostlog_forged.log");
  std::remove(path.c_str());
  nuv::CConfig config;
  config.set("system.log.targets", "file");
  config.set("system.log.target.file", path);
  config.set("system.log.levels", "all");
  CHostLog log;
  log.configure(config);
  // A control message trying to forge an entry, with an escape sequence.
  log.log(
      nuv::sev_warning,
      nuv::CMessage("Ignoring '%1'.").pushs("x\n2026-01-01T00:00:00Z error: forged\r\x1b[2J\\"));
  EXPECT_EQ(readFile(path).substr(21),
            "warning: Ignoring 'x\\n2026-01-01T00:00:00Z error: forged\\r\\x1b[2J\\\\'.\n");
}

TEST(CHostLogTest, BadSettingsAreRefusedAndTheOldOnesKept) {
  CHostLog log;
  nuv::CConfig good;
  good.set("system.log.levels", "all");
  log.configure(good);
  const std::pair<const char*, const char*> bad[] = {
      {"system.log.levels", "error,loud"},
      {"system.log.targets", "stdout,carrier-pigeon"},
      {"system.log.target.file", "/nonexistent-dir/x.log"},
  };
  for (const auto& [key, value] : bad) {
    nuv::CConfig config;
    config.set(key, value);
    if (std::string(key) == "system.log.target.file") config.set("system.log.targets", "file");
    EXPECT_THROW(log.configure(config), nuv::CException) << key;
    EXPECT_EQ(log.mask(), 63u) << key;
  }
}
