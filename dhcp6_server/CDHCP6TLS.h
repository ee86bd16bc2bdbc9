#pragma once
// A worker thread's own server state: its context (mediator and message in
// progress), database session, receive buffers, side commands, statistics
// and its copy of the engine settings. Only the owning thread touches it
// (and the commands and events that thread runs), so nothing here is
// locked.

#include <functional>
#include <memory>

#include "dhcp6_server/CDHCP6Context.h"
#include "dhcp6_server/CDHCP6DBSession.h"
#include "dhcp_database/CPolicyFinder.h"
#include "dhcp_database/CPolicyRecord.h"
#include "dhcp_database/CPrstAddressPending6.h"
#include "dhcp_database/CPrstAddressPool6.h"
#include "dhcp_database/CPrstDHCP6ObjectAbstractFactory.h"
#include "dhcp_database/CPrstNetworkPending6.h"
#include "dhcp_database/CPrstNetworkPool6.h"
#include "dhcp_server_common/CPendingFinder.h"
#include "dhcp_server_common/CPoolFinder.h"
#include "dhcp_server_common/CRawPktDataQueue.h"
#include "extended/CIDHCPStats.h"
#include "extended/CISystemBus.h"
#include "extended/CInterfaceAddresses.h"
#include "extended/CLogRateLimiter.h"
#include "extended/CQuerySources.h"
#include "extended/CSockDgramMcast.h"
#include "extended/CSyncCommandStorage.h"
#include "extended/CSystemMode.h"
#include "standard/CEndpoint.h"

class CDHCP6EventSubscriber;
class CICommandQueueTask;

class CDHCP6TLS {
 public:
  static constexpr const char* kBufferPoolName = "DHCP6_TLS_BUFFERS";
  static constexpr std::size_t kBufferCount = 10;
  static constexpr unsigned long kMaxDatagram = 65535;
  // Smaller settings are raised to this: no DHCPv6 message needs less.
  static constexpr unsigned long kMinDatagram = 4096;
  // The database schema version this server works with.
  static constexpr int kSchemaVersion = 31;

  // master: the master context to clone, or null to create the master.
  // deliver: runs the thread's bus events on this thread (empty: on the
  // publishing thread).
  CDHCP6TLS(CICommandQueueTask* task, long threadIndex, CIDHCPController* controller,
            const CDHCP6Context* master, CEventExecutor deliver = {});
  ~CDHCP6TLS();
  CDHCP6TLS(const CDHCP6TLS&) = delete;
  CDHCP6TLS& operator=(const CDHCP6TLS&) = delete;

  // Once, on the owning thread: session, settings, services, subscription.
  void init();
  // Re-reads the settings; an unreadable value keeps the current one.
  void refreshConfig();
  // Ends the subscription and closes the context and the session.
  void close();
  // Called after every configuration refresh of this thread.
  void onConfigRefresh(std::function<void()> callback) { m_onConfig = std::move(callback); }

  CICommandQueueTask* task() const { return m_task; }
  long threadIndex() const { return m_threadIndex; }
  CIDHCPController* controller() const { return m_controller; }
  CDHCP6Context& context() { return *m_context; }
  // The thread's database session; fails before init().
  CDHCP6DBSession& session();
  // The same as persistent-object session. It and the finders below exist
  // from init() to close().
  CIPrstSession& prstSession();
  // Finds the policies of a client.
  CPolicyFinder<CPolicyRecord>& policyFinder() { return *m_policyFinder; }
  // The thread's address and prefix pools.
  CPoolFinder<CPrstAddressPool6>& apoolFinder() { return *m_apoolFinder; }
  CPoolFinder<CPrstNetworkPool6>& npoolFinder() { return *m_npoolFinder; }
  // The thread's pending offers.
  CPendingFinder<CPrstAddressPending6>& apendingFinder() { return *m_apendingFinder; }
  CPendingFinder<CPrstNetworkPending6>& npendingFinder() { return *m_npendingFinder; }
  CSyncCommandStorage& syncCommands() { return m_syncCommands; }
  CIDHCPStats& stats() { return *m_stats; }
  CSystemMode mode() const { return m_mode; }
  void mode(CSystemMode mode) { m_mode = mode; }
  nuv::CEndpoint& src() { return m_src; }
  nuv::CEndpoint& dst() { return m_dst; }
  nuv::CSockDgramMcast& socket() { return m_socket; }
  void socket(const nuv::CSockDgramMcast& socket) { m_socket = socket; }
  CRawPktDataQueue& rawPktData() { return m_rawPktData; }
  CInterfaceAddresses& interfaceAddresses() { return m_interfaceAddresses; }
  CLogRateLimiter& malformedLog() { return m_malformedLog; }

  // Sends a datagram through the thread's socket, or hands it to the
  // transmitter set instead (a test reading replies without a network).
  using Transmitter = std::function<ssize_t(const void*, std::size_t, const nuv::CEndpoint&)>;
  ssize_t transmit(const void* bytes, std::size_t length, const nuv::CEndpoint& to);
  void transmitter(Transmitter t) { m_transmitter = std::move(t); }

  bool sharedConnections() const { return m_sharedConnections; }
  bool authoritative() const { return m_authoritative; }
  bool matchLocalSegmentPools() const { return m_matchLocalSegmentPools; }
  bool deleteOnRelease() const { return m_deleteOnRelease; }
  unsigned long maxRecvDatagram() const { return m_maxRecvDatagram; }
  long maxOptions() const { return m_maxOptions; }
  long maxPendingAge() const { return m_maxPendingAge; }
  bool noTransmit() const { return m_noTransmit; }
  const CQuerySources& querySources() const { return m_querySources; }

  // Through the thread's session.
  // readOnly: the message only reads (see CIPrstSession::beginRead).
  void startTransaction(bool readOnly = false);
  void commitTransaction();
  void rollbackTransaction();

 private:
  std::unique_ptr<CDHCP6DBSession> _openSession();
  void _primeMediator();
  // Definition files, then the definitions stored in the database.
  void _loadDefinitions();
  template <class T, class Read>
  void _read(const std::string& key, T& field, Read read);

  CICommandQueueTask* m_task;  // the engine's; not owned
  long m_threadIndex;
  CIDHCPController* m_controller;  // the host's; not owned
  std::unique_ptr<CDHCP6Context> m_context;
  CPrstDHCP6ObjectAbstractFactory m_factory;
  std::unique_ptr<CDHCP6DBSession> m_session;
  std::unique_ptr<CPolicyFinder<CPolicyRecord>> m_policyFinder;
  std::unique_ptr<CPoolFinder<CPrstAddressPool6>> m_apoolFinder;
  std::unique_ptr<CPoolFinder<CPrstNetworkPool6>> m_npoolFinder;
  std::unique_ptr<CPendingFinder<CPrstAddressPending6>> m_apendingFinder;
  std::unique_ptr<CPendingFinder<CPrstNetworkPending6>> m_npendingFinder;
  CSyncCommandStorage m_syncCommands;
  std::shared_ptr<CIDHCPStats> m_stats;
  CEventExecutor m_deliver;
  std::unique_ptr<CDHCP6EventSubscriber> m_subscriber;
  std::shared_ptr<CISystemBus> m_bus;  // the one subscribed to
  std::function<void()> m_onConfig;

  bool m_sharedConnections = false;
  bool m_authoritative = true;
  bool m_matchLocalSegmentPools = true;
  bool m_deleteOnRelease = false;
  unsigned long m_maxRecvDatagram = kMaxDatagram;
  long m_maxOptions = 2000;
  long m_maxPendingAge = 10;
  bool m_noTransmit = false;
  CQuerySources m_querySources;
  CSystemMode m_mode = CSystemMode::init;

  nuv::CEndpoint m_src;
  nuv::CEndpoint m_dst;
  nuv::CSockDgramMcast m_socket;
  CRawPktDataQueue m_rawPktData;
  CInterfaceAddresses m_interfaceAddresses;
  CLogRateLimiter m_malformedLog;
  Transmitter m_transmitter;
};
