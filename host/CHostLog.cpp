#include "host/CHostLog.h"

#include <syslog.h>

#include <cerrno>
#include <ctime>

#include "extended/CConfigNames.h"
#include "standard/CException.h"
#include "standard/CSecretMask.h"
#include "standard/StringUtil.h"

namespace {

int priority(unsigned severity) {
  if (severity & nuv::sev_error) return LOG_ERR;
  if (severity & nuv::sev_warning) return LOG_WARNING;
  if (severity & nuv::sev_audit) return LOG_NOTICE;
  if (severity & nuv::sev_info) return LOG_INFO;
  return LOG_DEBUG;
}

}  // namespace

CHostLog::~CHostLog() {
  if (m_file) std::fclose(m_file);
}

int CHostLog::facility(const std::string& raw) {
  const std::string name = nuv::toLower(nuv::trim(raw));
  if (name == "daemon") return LOG_DAEMON;
  if (name == "user") return LOG_USER;
  static const int local[] = {LOG_LOCAL0, LOG_LOCAL1, LOG_LOCAL2, LOG_LOCAL3,
                              LOG_LOCAL4, LOG_LOCAL5, LOG_LOCAL6, LOG_LOCAL7};
  if (name.size() == 6 && name.compare(0, 5, "local") == 0 && name[5] >= '0' && name[5] <= '7')
    return local[name[5] - '0'];
  NUV_THROW("CHostLog::facility", nuv::CMessage("Cannot use log facility '%1'.").pushs(raw),
            nuv::CMessage("Supported facilities are daemon, user and local0 to local7."));
}

void CHostLog::syslogWriter(SyslogWriter writer) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_syslogWriter = std::move(writer);
}

void CHostLog::configure(const nuv::CConfig& config) {
  const unsigned mask =
      nuv::CException::severityMask(config.get(nuv::CConfigNames::logLevels(), kDefaultLevels));
  bool toStdout = false;
  bool toStderr = false;
  bool toSyslog = false;
  std::string filePath;
  for (const std::string& raw :
       nuv::split(config.get(nuv::CConfigNames::logTargets(), "stdout"), ',')) {
    const std::string target = nuv::toLower(nuv::trim(raw));
    if (target == "stdout") {
      toStdout = true;
    } else if (target == "stderr") {
      toStderr = true;
    } else if (target == "syslog") {
      toSyslog = true;
    } else if (target == "file") {
      filePath = config.get(nuv::CConfigNames::logTargetFile(), "/var/log/dhcp6d.log");
    } else if (!target.empty()) {
      NUV_THROW("CHostLog::configure", nuv::CMessage("Cannot use log target '%1'.").pushs(target),
                nuv::CMessage("Supported targets are stdout, stderr, file and syslog."));
    }
  }
  const int syslogFacility = facility(config.get(nuv::CConfigNames::logFacility(), "daemon"));
  std::FILE* file = nullptr;
  if (!filePath.empty()) {
    file = std::fopen(filePath.c_str(), "a");
    if (!file)
      NUV_THROW_ERRNO("CHostLog::configure",
                      nuv::CMessage("Cannot open log file '%1'.").pushs(filePath), errno);
  }
  // The program's name and process id head every syslog entry.
  if (toSyslog) openlog("dhcp6d", LOG_PID | LOG_NDELAY, syslogFacility);
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_file) std::fclose(m_file);
  m_file = file;
  m_stdout = toStdout;
  m_stderr = toStderr;
  m_syslog = toSyslog;
  m_facility = syslogFacility;
  m_mask = mask;
}

void CHostLog::log(unsigned severity, const nuv::CMessage& message, int errorCode) {
  if (!(severity & m_mask)) return;
  char stamp[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm tmv{};
  if (gmtime_r(&now, &tmv)) std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &tmv);
  std::string entry;
  if (!m_tag.empty()) entry += m_tag + ' ';
  // One entry, one line: nothing in a message (text from the network or
  // the control socket) may start a line of its own.
  entry += nuv::CException::severityString(severity) + ": " +
           nuv::printable(nuv::CSecretMask::mask(message.formatted()));
  if (errorCode != 0) entry += " (" + nuv::CException::errText(errorCode) + ")";
  const std::string line = std::string(stamp) + ' ' + entry + '\n';
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_syslog) {
    if (m_syslogWriter)
      m_syslogWriter(m_facility | priority(severity), entry);
    else
      ::syslog(m_facility | priority(severity), "%s", entry.c_str());
  }
  if (m_stdout) {
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
  }
  if (m_stderr) std::fputs(line.c_str(), stderr);
  if (m_file) {
    std::fputs(line.c_str(), m_file);
    std::fflush(m_file);
  }
}
