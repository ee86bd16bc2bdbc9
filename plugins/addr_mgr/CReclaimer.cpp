#include "plugins/addr_mgr/CReclaimer.h"

#include <chrono>

#include "dhcp_database/CBinding6Identifier.h"
#include "dhcp_database/CPrstAddressBinding6.h"
#include "dhcp_database/CPrstNetworkBinding6.h"
#include "dhcp_server_common/CLeaseEvent.h"
#include "extended/CConfigNames.h"
#include "extended/CDHCPMetricEnums.h"
#include "extended/CMasterController.h"

CReclaimer::CReclaimer(CMasterController& controller, SessionOpener openSession,
                       std::shared_ptr<CISystemBus> bus, std::shared_ptr<CIDHCPStats> stats,
                       std::shared_ptr<CIDHCPDDNS> ddns)
    : m_controller(controller),
      m_openSession(std::move(openSession)),
      m_bus(std::move(bus)),
      m_stats(std::move(stats)),
      m_ddns(std::move(ddns)) {}

CReclaimer::~CReclaimer() {
  stop();
}

void CReclaimer::start() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_thread.joinable()) return;
  m_stopping = false;
  m_thread = std::thread(&CReclaimer::_loop, this);
}

void CReclaimer::stop() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

bool CReclaimer::awaitIdle(std::uint64_t runs, std::chrono::steady_clock::duration deadline) {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_idle.wait_for(lock, deadline, [&] { return m_waiting && m_runs >= runs; });
}

void CReclaimer::_loop() {
  std::unique_ptr<CIPrstSession> session;  // opened on this thread, closed on it
  CReclaimerSettings settings = CReclaimerSettings::read(m_controller);
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_waiting = true;
    m_idle.notify_all();
    const std::uint32_t wait = settings.interval == 0 ? kIdleRecheck : settings.interval;
    m_wake.wait_for(lock, std::chrono::seconds(wait), [this] { return m_stopping; });
    m_waiting = false;
    if (m_stopping) return;
    lock.unlock();
    // Read again: the configuration may have been re-read while it waited.
    settings = CReclaimerSettings::read(m_controller);
    const bool runs = settings.interval != 0;
    if (runs) _guardedRun(session, settings);
    lock.lock();
    if (runs) ++m_runs;
  }
}

void CReclaimer::_guardedRun(std::unique_ptr<CIPrstSession>& session,
                             const CReclaimerSettings& settings) {
  try {
    if (!session) session = m_openSession();
    run(*session, settings);
  } catch (const nuv::CException& e) {
    _failed(e, session);
  } catch (const std::exception& e) {
    _failed(nuv::CException(nuv::CMessage("The reclaimer failed to remove expired leases."),
                            nuv::CMessage(e.what()), NUV_MODULE_NAME, "CReclaimer::_guardedRun",
                            __FILE__, __LINE__),
            session);
  }
}

void CReclaimer::_failed(const nuv::CException& e, std::unique_ptr<CIPrstSession>& session) {
  m_controller.exceptionFacade().record(e);
  m_controller.exceptionFacade().log();
  session.reset();
}

CReclaimer::Counts CReclaimer::run(CIPrstSession& session, const CReclaimerSettings& settings) {
  m_serverIndex =
      static_cast<int>(m_controller.config()->get_uint32(nuv::CConfigNames::systemIndex(), 0));
  // By this host's clock; the lead time covers what the clocks of the
  // servers sharing the database differ by.
  const nuv::CTimeT before = nuv::CTimeT::now() - static_cast<std::time_t>(settings.leadTime);
  const auto reclaim = [&](const std::string& prototype, const char* eventClass) {
    CReclaimPass pass(session, prototype);
    return pass.remove(pass.select(before, settings.selectCount),
                       [&](const CReclaimPass::Reclaimed& r) { _reclaimed(eventClass, r); });
  };
  Counts counts;
  counts.addresses = reclaim(CPrstAddressBinding6::prototypeName(), CLeaseEvent::classALease());
  counts.prefixes = reclaim(CPrstNetworkBinding6::prototypeName(), CLeaseEvent::classNLease());
  if (counts.addresses != 0 || counts.prefixes != 0)
    m_controller.log().log(nuv::sev_info, nuv::CMessage("The server has reclaimed %1 expired "
                                                        "address leases and %2 expired prefix "
                                                        "leases.")
                                              .push(counts.addresses)
                                              .push(counts.prefixes));
  return counts;
}

void CReclaimer::_reclaimed(const char* eventClass, const CReclaimPass::Reclaimed& lease) {
  if (m_stats) m_stats->inc(CDHCPMetricEnums::bindingReclaimed);
  if (m_bus) {
    const CBinding6Identifier none{};  // a binding of no DHCPv6 client: never stored by this server
    const CBindingIdentifier& id = lease.bindingID ? *lease.bindingID : none;
    m_bus->publish(
        std::make_shared<CLeaseEvent>(m_serverIndex, CLeaseEvent::typeExpire(), eventClass,
                                      lease.address, id, "", lease.poolOID, lease.identity),
        0);
  }
  _deleteRecords(lease);
}

void CReclaimer::_deleteRecords(const CReclaimPass::Reclaimed& lease) {
  if (!lease.unreadable.empty())
    m_controller.log().log(nuv::sev_error,
                           nuv::CMessage("Cannot read the DNS names of the expired lease of %1; "
                                         "its records stay in the DNS: %2")
                               .pusho(lease.address)
                               .pushs(lease.unreadable));
  if (!m_ddns || lease.names.empty()) return;
  std::vector<CDDNSUpdate> forward, reverse;
  lease.names.appendDeletes(lease.address, forward, reverse);
  for (const CDDNSUpdate& update : forward) m_ddns->deleteARecord(update);
  for (const CDDNSUpdate& update : reverse) m_ddns->deletePTRRecord(update);
}
