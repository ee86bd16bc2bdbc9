#include "dhcp6_server/CDHCP6TLS.h"

#include "dhcp6_server/CDHCP6DBSession.h"
#include "dhcp6_server/CDHCP6EventSubscriber.h"
#include "dhcp_database/COptionLookupPrstReader.h"
#include "dhcp_database/CVendorLookupPrstReader.h"
#include "dhcp_server_common/CDHCPStatsStub.h"
#include "extended/CDHCPConfigNames.h"
#include "extended/CIDHCPController.h"
#include "oodb_persistence/CIDatabaseInit.h"

CDHCP6TLS::CDHCP6TLS(CICommandQueueTask* task, long threadIndex, CIDHCPController* controller,
                     const CDHCP6Context* master, CEventExecutor deliver)
    : m_task(task),
      m_threadIndex(threadIndex),
      m_controller(controller),
      m_context(master ? master->clone() : std::make_unique<CDHCP6Context>(controller, true)),
      m_factory(m_context.get()),
      m_stats(std::make_shared<CDHCPStatsStub>()),
      m_deliver(std::move(deliver)),
      m_dst("[::]:547"),
      m_rawPktData(controller, kBufferPoolName, kMaxDatagram, kBufferCount) {}

CDHCP6TLS::~CDHCP6TLS() {
  // close() normally ran already; the bus must never call a destroyed subscriber.
  if (m_bus && m_subscriber) m_bus->unsubscribe(m_subscriber.get());
}

void CDHCP6TLS::init() {
  m_context->init();
  _read(CDHCPConfigNames::engineSharedConnections(6), m_sharedConnections,
        [](const nuv::CConfig& c, const std::string& k, bool d) { return c.get_bool(k, d); });
  m_session = _openSession();
  m_session->startTransaction();
  _loadDefinitions();
  CPrstDBSession& db = m_session->session();
  m_context->prstSession(&db);
  m_policyFinder = std::make_unique<CPolicyFinder<CPolicyRecord>>(
      db, &m_controller->log(), CPolicyFinder<CPolicyRecord>::kRows);
  // Threads start one after the other, the master first: only it creates.
  if (m_context->master()) m_policyFinder->createGlobalPoliciesIf();
  m_policyFinder->findGlobalPolicies();
  m_apoolFinder = std::make_unique<CPoolFinder<CPrstAddressPool6>>(m_controller, db);
  m_npoolFinder = std::make_unique<CPoolFinder<CPrstNetworkPool6>>(m_controller, db);
  m_apendingFinder = std::make_unique<CPendingFinder<CPrstAddressPending6>>(db);
  m_npendingFinder = std::make_unique<CPendingFinder<CPrstNetworkPending6>>(db);
  refreshConfig();
  _primeMediator();
  commitTransaction();
}

void CDHCP6TLS::_loadDefinitions() {
  CDHCP6Mediator& mediator = m_context->dhcpMediator();
  mediator.optionFactory();
  COptionLookupPrstReader(*m_context, m_session->session(), false, mediator.optionLookup())
      .execute();
  CVendorLookupPrstReader(*m_context, m_session->session(), mediator.vendorLookup()).execute();
}

CIPrstSession& CDHCP6TLS::prstSession() {
  return session().session();
}

std::unique_ptr<CDHCP6DBSession> CDHCP6TLS::_openSession() {
  // The provider checked the schema version (kSchemaVersion) when it
  // opened; every thread has its own connection whatever the
  // shared-connections switch says.
  return std::make_unique<CDHCP6DBSession>(
      CIDatabaseInit::find(*m_controller).openSession({&m_factory}));
}

template <class T, class Read>
void CDHCP6TLS::_read(const std::string& key, T& field, Read read) {
  try {
    field = read(*m_controller->config(), key, field);
  } catch (const nuv::CException& e) {
    m_controller->exceptionFacade().record(e);
    m_controller->exceptionFacade().log();
  }
}

void CDHCP6TLS::refreshConfig() {
  const auto readBool = [](const nuv::CConfig& c, const std::string& k, bool d) {
    return c.get_bool(k, d);
  };
  const auto readLong = [](const nuv::CConfig& c, const std::string& k, long d) {
    return static_cast<long>(c.get_int64(k, d));
  };
  m_noTransmit = false;
  _read(CDHCPConfigNames::debugNoSend(), m_noTransmit, readBool);
  _read(CDHCPConfigNames::maxFrontendDgRcv(6), m_maxRecvDatagram,
        [](const nuv::CConfig& c, const std::string& k, unsigned long d) {
          return static_cast<unsigned long>(c.get_uint64(k, d));
        });
  if (m_maxRecvDatagram < kMinDatagram) m_maxRecvDatagram = kMinDatagram;
  m_rawPktData.resize(m_maxRecvDatagram);
  _read(CDHCPConfigNames::maxPendingAge(6), m_maxPendingAge, readLong);
  _read(CDHCPConfigNames::engineQuerySources(6), m_querySources,
        [](const nuv::CConfig& c, const std::string& k, const CQuerySources&) {
          const std::string* text = c.getp(k);
          return text ? CQuerySources(*text) : CQuerySources();
        });
  _read(CDHCPConfigNames::deleteOnRelease(6), m_deleteOnRelease, readBool);
  _read(CDHCPConfigNames::authoritativeDHCP(6), m_authoritative, readBool);
  _read(CDHCPConfigNames::matchLocalSegmentPools(6), m_matchLocalSegmentPools, readBool);
  _read(CDHCPConfigNames::maxEngineOptionPoolSize(6), m_maxOptions, readLong);
  try {
    m_apoolFinder->refreshConfig();
    m_npoolFinder->refreshConfig();
  } catch (const nuv::CException& e) {
    m_controller->exceptionFacade().record(e);
    m_controller->exceptionFacade().log();
  }
  if (m_onConfig) m_onConfig();
}

void CDHCP6TLS::_primeMediator() {
  // The option factory's pool size (maxOptions) and the autonomous objects
  // of the object layer are set here once those exist.
  CDHCP6Mediator& mediator = m_context->dhcpMediator();
  m_stats = mediator.createStats(CDHCPMeasurementSpec::forHandlerThread(
      std::to_string(m_threadIndex), static_cast<std::uint32_t>(m_threadIndex),
      m_context->family()));
  // Every service is created now, so that the first packet does not pay
  // for the lookups.
  mediator.eval();
  mediator.domainManager();
  mediator.provisioner();
  mediator.pktstore();
  mediator.leaseQuery();
  mediator.ddns();
  mediator.extension();
  mediator.addrMgr();
  mediator.ebalancer();
  mediator.lbalancer();
  mediator.rewrite();
  mediator.ldap();
  m_bus = mediator.publisher();
  if (m_bus) {
    m_subscriber = std::make_unique<CDHCP6EventSubscriber>(*this);
    m_bus->subscribe(m_subscriber.get(), CDHCP6EventSubscriber::eventClasses(), m_deliver);
  }
}

void CDHCP6TLS::close() {
  if (m_bus && m_subscriber) m_bus->unsubscribe(m_subscriber.get());
  m_subscriber.reset();
  m_bus.reset();
  m_context->close();
  m_policyFinder.reset();
  m_apoolFinder.reset();
  m_npoolFinder.reset();
  m_apendingFinder.reset();
  m_npendingFinder.reset();
  m_context->prstSession(nullptr);
  if (m_session) m_session->close();
}

CDHCP6DBSession& CDHCP6TLS::session() {
  if (!m_session)
    NUV_THROW("CDHCP6TLS::session",
              nuv::CMessage("Cannot use the database session of thread %1.").push(m_threadIndex),
              nuv::CMessage("The thread's state is not initialized."));
  return *m_session;
}

void CDHCP6TLS::startTransaction(bool readOnly) {
  if (readOnly)
    session().startReadTransaction();
  else
    session().startTransaction();
}

void CDHCP6TLS::commitTransaction() {
  session().commitTransaction();
}

void CDHCP6TLS::rollbackTransaction() {
  session().rollbackTransaction();
}

ssize_t CDHCP6TLS::transmit(const void* bytes, std::size_t length, const nuv::CEndpoint& to) {
  return m_transmitter ? m_transmitter(bytes, length, to)
                       : m_socket.send_blocked(bytes, length, to);
}
