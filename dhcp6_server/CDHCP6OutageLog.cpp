#include "dhcp6_server/CDHCP6OutageLog.h"

#include "extended/CLogSink.h"
#include "standard/CException.h"

CDHCP6OutageLog::CDHCP6OutageLog(CLogSink& log) : m_log(log) {}

void CDHCP6OutageLog::dropped(const nuv::CException& failure, std::time_t now) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_out.load(std::memory_order_relaxed)) {
    m_out.store(true, std::memory_order_relaxed);
    m_began = now;
    m_lastLine = now;
    m_dropped = 0;
    m_limiter = CLogRateLimiter(1, kIntervalSeconds);
  }
  ++m_dropped;
  m_lastDrop = now;
  if (!m_limiter.admit(now)) return;
  const unsigned long since = m_limiter.takeSuppressed() + 1;
  if (m_dropped == 1) {
    m_log.log(nuv::sev_error, nuv::CMessage("The database is unavailable (%1 %2): the server "
                                            "drops every message it cannot serve until the "
                                            "database is back.")
                                  .pushs(failure.whatText())
                                  .pushs(failure.whyText()));
  } else {
    m_log.log(nuv::sev_error, nuv::CMessage("The database is still unavailable (%1 %2): the "
                                            "server dropped %3 messages in the last %4 s.")
                                  .pushs(failure.whatText())
                                  .pushs(failure.whyText())
                                  .push(since)
                                  .push(static_cast<long>(now - m_lastLine)));
  }
  m_lastLine = now;
}

void CDHCP6OutageLog::_ended(std::time_t now) {
  const std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_out.load(std::memory_order_relaxed) || now - m_lastDrop < kQuietSeconds) return;
  m_out.store(false, std::memory_order_relaxed);
  m_log.log(nuv::sev_info, nuv::CMessage("The database is available again: the server dropped %1 "
                                         "messages in %2 s while it was not.")
                               .push(m_dropped)
                               .push(static_cast<long>(now - m_began)));
}
