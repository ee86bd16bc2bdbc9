#include "host/CHostLog.h"

#include <cerrno>
#include <ctime>

#include "extended/CConfigNames.h"
#include "standard/CException.h"
#include "standard/StringUtil.h"

CHostLog::~CHostLog() {
  if (m_file) std::fclose(m_file);
}

void CHostLog::configure(const nuv::CConfig& config) {
  const unsigned mask =
      nuv::CException::severityMask(config.get(nuv::CConfigNames::logLevels(), kDefaultLevels));
  bool toStdout = false;
  bool toStderr = false;
  std::string filePath;
  for (const std::string& raw :
       nuv::split(config.get(nuv::CConfigNames::logTargets(), "stdout"), ',')) {
    const std::string target = nuv::toLower(nuv::trim(raw));
    if (target == "stdout") {
      toStdout = true;
    } else if (target == "stderr") {
      toStderr = true;
    } else if (target == "file") {
      filePath = config.get(nuv::CConfigNames::logTargetFile(), "/var/log/dhcp6d.log");
    } else if (!target.empty()) {
      NUV_THROW("CHostLog::configure", nuv::CMessage("Cannot use log target '%1'.").pushs(target),
                nuv::CMessage("Supported targets are stdout, stderr and file."));
    }
  }
  std::FILE* file = nullptr;
  if (!filePath.empty()) {
    file = std::fopen(filePath.c_str(), "a");
    if (!file)
      NUV_THROW_ERRNO("CHostLog::configure",
                      nuv::CMessage("Cannot open log file '%1'.").pushs(filePath), errno);
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_file) std::fclose(m_file);
  m_file = file;
  m_stdout = toStdout;
  m_stderr = toStderr;
  m_mask = mask;
}

void CHostLog::log(unsigned severity, const nuv::CMessage& message, int errorCode) {
  if (!(severity & m_mask)) return;
  char stamp[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm tmv{};
  if (gmtime_r(&now, &tmv)) std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &tmv);
  std::string line = stamp;
  line += ' ';
  if (!m_tag.empty()) line += m_tag + ' ';
  // One entry, one line: nothing in a message (text from the network or
  // the control socket) may start a line of its own.
  line += nuv::CException::severityString(severity) + ": " + nuv::printable(message.formatted());
  if (errorCode != 0) line += " (" + nuv::CException::errText(errorCode) + ")";
  line += '\n';
  std::lock_guard<std::mutex> lock(m_mutex);
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
