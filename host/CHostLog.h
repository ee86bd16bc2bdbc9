#pragma once
// A log sink of the host: writes entries with a UTC time stamp and the
// severity name to the targets named by "system.log.targets" (stdout,
// stderr, file, syslog), keeping only the severities named by
// "system.log.levels". syslog (which journald collects) gets the entry
// without the time stamp, at the matching priority, under the facility
// "system.log.facility" (default daemon). The values of secrets (names
// ending in "secret" or "password") never reach a target.

#include <atomic>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

#include "extended/CLogSink.h"
#include "standard/CConfig.h"

class CHostLog : public CLogSink {
 public:
  // tag starts every line ("" for the process log, "dhcp" for the packet log).
  explicit CHostLog(std::string tag = {}) : m_tag(std::move(tag)) {}
  ~CHostLog() override;

  // Reads targets, levels and the file path; safe while other threads log.
  // Throws when a level name is unknown or the log file cannot be opened.
  void configure(const nuv::CConfig& config);

  void log(unsigned severity, const nuv::CMessage& message, int errorCode = 0) override;
  bool verboseEnabled() const override { return m_mask & nuv::sev_verbose; }
  bool debugEnabled() const override { return m_mask & nuv::sev_debug; }
  unsigned mask() const { return m_mask; }

  static constexpr const char* kDefaultLevels = "error,warning,info";

  // Where syslog entries go: syslog(3) unless a test catches them.
  using SyslogWriter = std::function<void(int priority, const std::string& text)>;
  void syslogWriter(SyslogWriter writer);
  // The syslog facility a name stands for (daemon, user, local0 to
  // local7, any case); throws for another name.
  static int facility(const std::string& name);

 private:
  std::string m_tag;
  mutable std::mutex m_mutex;
  std::atomic<unsigned> m_mask{nuv::sev_error | nuv::sev_warning | nuv::sev_info};
  bool m_stdout = true;
  bool m_stderr = false;
  bool m_syslog = false;
  int m_facility = 0;
  SyslogWriter m_syslogWriter;
  std::FILE* m_file = nullptr;
};
