#pragma once
// A log sink of the host: writes entries with a UTC time stamp and the
// severity name to the targets named by "system.log.targets" (stdout,
// stderr, file), keeping only the severities named by "system.log.levels".

#include <atomic>
#include <cstdio>
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

 private:
  std::string m_tag;
  mutable std::mutex m_mutex;
  std::atomic<unsigned> m_mask{nuv::sev_error | nuv::sev_warning | nuv::sev_info};
  bool m_stdout = true;
  bool m_stderr = false;
  std::FILE* m_file = nullptr;
};
