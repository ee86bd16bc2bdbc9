#include "dhcp6_server/CDHCP6Engine.h"

#include "dhcp6_server/CCmdBinding6Count.h"
#include "dhcp6_server/CCmdGarbageCollectPendings6.h"
#include "dhcp6_server/CCmdGetMode6.h"
#include "dhcp6_server/CDHCP6TLS.h"
#include "extended/CDHCPConfigNames.h"
#include "extended/CIDHCPController.h"

CDHCP6Engine::CDHCP6Engine(CIDHCPController* controller, unsigned threadCount)
    : CLFCommandQueueTask(controller, kTaskName, threadCount),
      m_controller(controller),
      m_configuredThreads(threadCount),
      m_tlsPool(CTask::threadCount()),
      m_mailboxes(*this, CTask::threadCount()),
      m_handler(controller, this, m_tlsPool),
      m_frontend(controller, "dhcpv6", &m_handler, &selectReactor()) {}

CDHCP6Engine::~CDHCP6Engine() {
  shutdown();
  // A timer handler on its way out may have rescheduled after thread 0
  // cancelled; the reactor must not keep a timer for a deleted engine.
  std::lock_guard<std::mutex> lock(m_timerMutex);
  reactor()->cancel_timer(this);
}

void CDHCP6Engine::_record(const nuv::CException& e) {
  m_controller->exceptionFacade().record(e);
  m_controller->exceptionFacade().log();
}

int CDHCP6Engine::run() {
  {
    std::lock_guard<std::mutex> lock(m_startMutex);
    m_startsDone = 0;
  }
  const int rc = CLFCommandQueueTask::run();
  if (rc != 0) return rc;
  // An event published before a thread had subscribed would never reach it.
  std::unique_lock<std::mutex> lock(m_startMutex);
  m_started.wait(lock, [this] { return m_startsDone >= threadCount(); });
  return 0;
}

int CDHCP6Engine::_init() {
  int rc = 0;
  const long index = myThreadIndex();
  try {
    _initThread(index);
  } catch (const nuv::CException& e) {
    _record(e);
    // The thread will never run what was posted for it.
    m_mailboxes.discard(index);
    rc = kInitFailed;
  }
  std::lock_guard<std::mutex> lock(m_startMutex);
  ++m_startsDone;
  m_started.notify_all();
  return rc;
}

void CDHCP6Engine::_initThread(long index) {
  if (index == 0) {
    const std::string listenOn =
        m_controller->config()->get(CDHCPConfigNames::daemonListenOn(6), "");
    // A server that cannot listen has nothing to do: the start fails.
    if (!m_frontend.init(true, nuv::CEndpoint(kUnicastEndpoint), listenOn, kDefaultGroups))
      NUV_THROW("CDHCP6Engine::_init", nuv::CMessage("Cannot start the DHCPv6 server."),
                nuv::CMessage("The socket front end failed to bind."));
    refreshConfig();
  }
  auto tls = std::make_unique<CDHCP6TLS>(this, index, m_controller, m_context.load(),
                                         m_mailboxes.executorFor(index));
  tls->init();
  if (index == 0) {
    m_context = &tls->context();
    // A configuration event reaches every thread; one of them retimes the
    // collection.
    tls->onConfigRefresh([this] { refreshConfig(); });
  } else {
    tls->mode(mode());
  }
  m_tlsPool.insert(index, tls.get());
  tls.release();
  // Thread 0 creates the two global policies here once the policy finder
  // exists.
}

int CDHCP6Engine::_daemon() {
  const long index = myThreadIndex();
  _pumpReactor();
  const int rc = retcode();
  try {
    reactor()->cancel_timer(&m_frontend);
    if (index == 0) {
      std::lock_guard<std::mutex> lock(m_timerMutex);
      reactor()->cancel_timer(this);
    }
    std::unique_ptr<CDHCP6TLS> tls(m_tlsPool.remove(index));
    if (index == 0) m_context = nullptr;
    tls->close();
  } catch (const nuv::CException& e) {
    _record(e);
  }
  m_mailboxes.discard(index);
  m_frontend.close();
  m_controller->log().log(nuv::sev_debug, nuv::CMessage("The DHCPv6 server has shut down."));
  return rc;
}

void CDHCP6Engine::refreshConfig() {
  try {
    m_pendingGarbageInterval = static_cast<unsigned long>(m_controller->config()->get_uint64(
        CDHCPConfigNames::pendingGarbageInterval(6), m_pendingGarbageInterval.load()));
  } catch (const nuv::CException& e) {
    _record(e);
  }
  _schedulePendingGarbageCollect();
}

void CDHCP6Engine::_schedulePendingGarbageCollect() {
  const unsigned long interval = m_pendingGarbageInterval.load();
  if (interval == 0) return;
  std::lock_guard<std::mutex> lock(m_timerMutex);
  reactor()->cancel_timer(this);
  reactor()->schedule_timer(this, nullptr, ACE_Time_Value(static_cast<time_t>(interval)));
  m_controller->log().log(nuv::sev_debug,
                          nuv::CMessage("The server will collect stale pending records in %1 "
                                        "seconds.")
                              .push(interval));
}

int CDHCP6Engine::handle_timeout(const ACE_Time_Value&, const void* argument) {
  if (argument) return 0;
  try {
    // Nobody waits for the collection; a failure it reports is logged.
    sendCommand(std::make_shared<CCmdGarbageCollectPendings6>(
        m_tlsPool, CExtAsyncResult<bool>(m_controller, nullptr)));
  } catch (const nuv::CException& e) {
    _record(e);
  }
  _schedulePendingGarbageCollect();
  return 0;
}

CSystemMode CDHCP6Engine::mode() {
  CSystemMode answer;
  CExtAsyncResult<CSystemMode> result(m_controller, &answer);
  sendCommand(std::make_shared<CCmdGetMode6>(m_tlsPool, result));
  result.wait();
  return answer;
}

unsigned CDHCP6Engine::countBindings() {
  unsigned answer = 0;
  CExtAsyncResult<unsigned> result(m_controller, &answer);
  sendCommand(std::make_shared<CCmdBinding6Count>(m_tlsPool, result));
  result.wait();
  return answer;
}
