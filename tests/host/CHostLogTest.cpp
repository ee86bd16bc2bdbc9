#include <gtest/gtest.h>
#include <syslog.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "host/CHostLog.h"
#include "standard/CException.h"
#include "tests/fixtures/FailureOf.h"
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
      {"system.log.facility", "kern"},
  };
  for (const auto& [key, value] : bad) {
    nuv::CConfig config;
    config.set(key, value);
    if (std::string(key) == "system.log.target.file") config.set("system.log.targets", "file");
    EXPECT_THROW(log.configure(config), nuv::CException) << key;
    EXPECT_EQ(log.mask(), 63u) << key;
  }
}

TEST(CHostLogTest, SyslogGetsEachEntryAtItsPriorityUnderTheFacility) {
  nuv::CConfig config;
  config.set("system.log.targets", "syslog");
  config.set("system.log.facility", "local3");
  config.set("system.log.levels", "all");
  CHostLog log("dhcp");
  std::vector<std::pair<int, std::string>> seen;
  log.syslogWriter(
      [&](int priority, const std::string& text) { seen.emplace_back(priority, text); });
  log.configure(config);
  struct Case {
    unsigned severity;
    int priority;
    const char* text;
  } cases[] = {
      {nuv::sev_error, LOG_ERR, "dhcp error: e"},
      {nuv::sev_warning, LOG_WARNING, "dhcp warning: w"},
      {nuv::sev_info, LOG_INFO, "dhcp info: i"},
      {nuv::sev_audit, LOG_NOTICE, "dhcp audit: a"},
      {nuv::sev_debug, LOG_DEBUG, "dhcp debug: d"},
      {nuv::sev_verbose, LOG_DEBUG, "dhcp verbose: v"},
  };
  for (const Case& c : cases) {
    seen.clear();
    const std::string text = c.text;
    log.log(c.severity, nuv::CMessage(text.substr(text.size() - 1)));
    ASSERT_EQ(seen.size(), 1u) << c.text;
    EXPECT_EQ(seen[0].first, LOG_LOCAL3 | c.priority) << c.text;
    EXPECT_EQ(seen[0].second, c.text);
  }
  EXPECT_EQ(CHostLog::facility("DAEMON"), LOG_DAEMON);
  EXPECT_EQ(CHostLog::facility("local0"), LOG_LOCAL0);
}

TEST(CHostLogTest, SecretsNeverReachALogLine) {
  const std::string path = tempPath("hostlog_secrets.log");
  std::remove(path.c_str());
  nuv::CConfig config;
  config.set("system.log.targets", "file,syslog");
  config.set("system.log.target.file", path);
  CHostLog log;
  std::string syslogged;
  log.syslogWriter([&](int, const std::string& text) { syslogged += text + "\n"; });
  log.configure(config);
  log.log(nuv::sev_error, nuv::CMessage("Cannot use %1.").pushs("ddns.tsig.secret = c2VjcmV0"));
  log.log(nuv::sev_info, nuv::CMessage("Connecting with '%1'.").pushs("user=u password='pw 1'"));
  const std::string text = readFile(path) + syslogged;
  for (const char* secret : {"c2VjcmV0", "pw 1"})
    EXPECT_EQ(text.find(secret), std::string::npos) << text;
  // The value runs to the next blank: the full stop goes with it.
  EXPECT_NE(text.find("error: Cannot use ddns.tsig.secret = ****\n"), std::string::npos) << text;
  EXPECT_NE(text.find("info: Connecting with 'user=u password='****''.\n"), std::string::npos)
      << text;
}

TEST(CHostLogTest, AConfigurationLineThatCannotBeReadDoesNotShowItsSecret) {
  std::istringstream in("system.db.user = u\nsystem.db.password hunter2\n");
  EXPECT_EQ(failureOf([&] { nuv::CConfig::parse(in, "test.conf"); }).why,
            "Expected 'key = value', found 'system.db.password ****'.");
}
