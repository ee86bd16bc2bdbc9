#include "plugins/ddns/CDDNSSender.h"

#include <ctime>

#include "plugins/ddns/CDDNSBackoff.h"
#include "plugins/ddns/CDDNSMessage.h"
#include "plugins/ddns/CDDNSTransport.h"
#include "standard/CException.h"

CDDNSSender::CDDNSSender(CDDNSQueue& queue, CDDNSCounters& counters, CLogSink& log,
                         Settings settings, Attempt attempt)
    : m_queue(queue),
      m_counters(counters),
      m_log(log),
      m_settings(std::move(settings)),
      m_attempt(std::move(attempt)) {}

CDDNSSender::~CDDNSSender() {
  stop();
}

void CDDNSSender::start(std::shared_ptr<CIDHCPStats> stats) {
  m_stats = std::move(stats);
  m_thread = std::thread(&CDDNSSender::_run, this);
}

void CDDNSSender::stop() {
  if (!m_thread.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_draining = true;
    m_deadline = Clock::now() + std::chrono::seconds(m_settings().drainSeconds);
  }
  m_wake.notify_all();
  m_queue.close();
  m_thread.join();
  if (m_abandoned)
    m_log.log(nuv::sev_warning,
              nuv::CMessage("Shutting down with %1 DNS updates not sent.").push(m_abandoned));
  m_counters.countAbandoned(m_abandoned);
}

CDDNSOutcome CDDNSSender::send(const CDDNSJob& job, const CDDNSSettings& settings,
                               std::uint32_t timeoutMs) {
  try {
    CDDNSMessage message(job, settings.defaultTTL);
    if (settings.signs()) message.sign(settings.keyName, settings.keySecret);
    return CDDNSTransport::exchange(message, job.update.server, settings.keyName,
                                    settings.keySecret, timeoutMs);
  } catch (const nuv::CException& e) {
    return CDDNSOutcome::invalid(e.whatText() + " " + e.whyText());
  }
}

void CDDNSSender::_run() {
  while (auto job = m_queue.pop()) {
    const CDDNSSettings settings = m_settings();
    if (_allowance(settings.timeoutMs) == 0)
      ++m_abandoned;
    else
      _process(*job, settings);
  }
}

void CDDNSSender::_process(const CDDNSJob& queued, const CDDNSSettings& settings) {
  const CDDNSJob* job = &queued;
  CDDNSJob withServer;
  if (!queued.update.server.isValid() && settings.defaultServer.isValid()) {
    withServer = queued;
    withServer.update.server = settings.defaultServer;
    job = &withServer;
  }
  const std::string server = job->update.server.isValid() ? job->update.server.string() : "-";
  for (std::uint32_t attempt = 1;; ++attempt) {
    const std::uint32_t allowed = _allowance(settings.timeoutMs);
    if (allowed == 0) break;
    const CDDNSOutcome outcome = m_attempt(*job, settings, allowed);
    if (outcome.ok()) {
      m_counters.countSuccess(*job);
      if (m_stats) m_stats->inc(CDDNSCounters::metric(*job));
      if (m_log.debugEnabled())
        m_log.log(nuv::sev_debug,
                  nuv::CMessage("DNS update done: %1 at %2.").pushs(job->describe()).pushs(server));
      return;
    }
    if (outcome.retry() && attempt <= settings.retries) {
      const auto pause = CDDNSBackoff::after(attempt);
      if (m_log.debugEnabled())
        m_log.log(
            nuv::sev_debug,
            nuv::CMessage("DNS update attempt %1 failed: %2 at %3: %4. Trying again in %5 ms.")
                .push(attempt)
                .pushs(job->describe())
                .pushs(server)
                .pushs(outcome.text())
                .push(pause.count()));
      if (_pause(pause)) continue;
      break;
    }
    m_counters.countFailure(outcome.cause());
    _error(nuv::CMessage("DNS update failed: %1 at %2 (attempt %3): %4.")
               .pushs(job->describe())
               .pushs(server)
               .push(attempt)
               .pushs(outcome.text()));
    return;
  }
  ++m_abandoned;  // the drain time ended while it was still being tried
}

std::uint32_t CDDNSSender::_allowance(std::uint32_t timeoutMs) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_draining) return timeoutMs;
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now()).count();
  if (left <= 0) return 0;
  return left < timeoutMs ? static_cast<std::uint32_t>(left) : timeoutMs;
}

bool CDDNSSender::_pause(std::chrono::milliseconds pause) {
  const Clock::time_point until = Clock::now() + pause;
  // A stop that begins meanwhile ends the pause at once when the retry
  // would come after the drain time.
  std::unique_lock<std::mutex> lock(m_mutex);
  const auto tooLate = [&] { return m_draining && m_deadline <= until; };
  m_wake.wait_until(lock, until, tooLate);
  return !tooLate();
}

void CDDNSSender::_error(const nuv::CMessage& message) {
  if (!m_errors.admit(std::time(nullptr))) return;
  if (const unsigned long left = m_errors.takeSuppressed())
    m_log.log(nuv::sev_error,
              nuv::CMessage("%1 more DNS update failures were not logged.").push(left));
  m_log.log(nuv::sev_error, message);
}
