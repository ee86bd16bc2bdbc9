#include "extended/CDHCPConfigNames.h"

namespace {

struct Row {
  CDHCPConfigNames::DHCPKey key;
  bool scoped;  // the name is a suffix under "ipv<f>.dhcpv<f>."
  const char* name;
  const char* type;  // null: the key has an accessor but is not registered
  const char* text;
};

using K = CDHCPConfigNames::DHCPKey;
constexpr bool kScoped = true;
constexpr bool kFree = false;

// clang-format off
constexpr Row kRows[] = {
  {K::serverDUID, kFree, "system.duid", "byte sequence", "This server's device unique identifier (duid)."},
  {K::debugNoSend, kFree, "system.debug.no_send", nullptr, nullptr},
  {K::engineThreadCount, kScoped, "engine.thread_count", "int", "The number of engine threads to be created. The default is to create one engine thread only."},
  {K::engineSharedConnections, kScoped, "engine.db.shared_connections", "boolean", "When false, the engine threads use more memory but scale well across multiple cores. The default is false."},
  {K::daemonListenOn, kScoped, "engine.listen_on", "string", "A comma-delimited list of local address:port endpoints the server should listen."},
  {K::defaultDaemonPort, kScoped, "engine.def_port", "int", "Port number the dhcp server should listen on if not otherwise specified."},
  {K::maxFrontendDgRcv, kScoped, "engine.max_dg_rcv", "int", "The maximum size datagram the dhcp server will accept."},
  {K::maxPendingAge, kScoped, "engine.pendings.max_age", "int", "The maximum allowed age (in seconds) for a pending record."},
  {K::pendingGarbageInterval, kScoped, "engine.pendings.garbage_interval", "int", "The interval at which garbage pending records should be cleaned. (0 = never)"},
  {K::deleteOnRelease, kScoped, "engine.delete_on_release", "boolean", "When true, the dhcp server drops all knowledge of a binding when it's released by the client."},
  {K::authoritativeDHCP, kScoped, "engine.authoritative", "boolean", "When true, this server authoritatively NAKs dhcp clients the server believes should be reconfigured."},
  {K::matchLocalSegmentPools, kScoped, "engine.match_local_segment_pools", "boolean", "For local segment, only choose address pools that have implicitly associated interfaces."},
  {K::maxEngineOptionPoolSize, kScoped, "engine.max_options", "int", "The maximum number of pooled options the engines can use."},
  {K::enginePoolCacheSize, kScoped, "engine.pool_cache_size", "int", "The maximum number of pools an engine thread can cache."},
  {K::engineQuerySources, kScoped, "engine.query_sources", "string", "A comma-delimited list of addresses and prefixes (address/length) whose status queries are answered. The default is empty: the loopback address and this host's own addresses only."},
  {K::repeatOffers, kScoped, "engine.repeat_offers", "boolean", "When true, the dhcp server is allowed to repeat an offer for an ip address when a client issues multiple simultaneous requests."},
  {K::maxApplicablePolicies, kScoped, "engine.max_applicable_policies", "int", "The maximum number of policies the DHCP server can apply to a client. The default is 1000."},
  {K::denyRAS, kScoped, "engine.deny_ras", "boolean", "When true, the server drops requests from Windows RAS servers."},
  {K::privateServer, kScoped, "engine.private_server", "boolean", "When true, the registration plugin serves only devices that have an account (whitelist); when false, it serves every device without one (blacklist)."},
  {K::optionsFile, kScoped, "options.specfile", "string", "The file containing option definitions for the dhcp server."},
  {K::vendorsFile, kScoped, "vendors.specfile", "string", "The file containing vendor class definitions for the dhcp server."},
  {K::rconsoleV3Api, kFree, "rconsole.v3_api", "boolean", "When true, the remote console offers its version 3 programming interface."},
  {K::statsSharedConnections, kFree, "stats.shared_connections", "boolean", "When true, the statistics threads share database connections."},
  {K::statsSampleRate, kFree, "stats.sample_rate", "boolean", "The rate, in seconds, at which system counters are sampled and stored. The default is 60 seconds."},
  {K::statsRetentionAge, kFree, "stats.retention_age", "time span", "The minimum retention age for system samples. After this age, samples are overwritten with newer sampled data. The default is 30:::, 30 days, 0 hrs, 0 min, 0 sec."},
  {K::ddnsDefaultServer, kFree, "ddns.default_server", "name or address", "The DNS server that receives dynamic updates when a policy names none."},
  {K::ddnsDefaultTTL, kFree, "ddns.default_ttl", "int", "The time to live, in seconds, of DNS records added by dynamic updates."},
  {K::maxOpenFiles, kFree, "system.limits.max_open_files", "int", "The maximum number of files the process may hold open."},
  {K::dhcpv4ClientIdGenerator, kFree, "ipv4.dhcpv4.engine.client_id_generator", "expression", "Computes the client identifier of a DHCPv4 client that sends none."},
  {K::snmpExtDll, kFree, "system.misc.snmp_ext_dll", "string", "The SNMP extension library to load."},
  {K::arpHelperDll, kFree, "system.misc.arp_helper_dll", "string", "The ARP helper library to load."},
  {K::dhcpv4DynamicBootp, kFree, "ipv4.dhcpv4.engine.dynamic_bootp", "boolean", "When true, BOOTP clients may be given addresses from dynamic pools."},
  {K::systemExtension, kFree, "system.extension", "string", "The extension plugin that is handed every received packet."},
  {K::reclaimerInterval, kScoped, "reclaimer.interval", "int", "The interval, in seconds, at which expired bindings are reclaimed."},
  {K::reclaimerMarkersEnable, kScoped, "reclaimer.markers.enable", "boolean", "When true, the reclaimer records markers of its progress so that a restart resumes where it stopped."},
  {K::reclaimerSelectCount, kScoped, "reclaimer.select_count", "int", "The number of bindings the reclaimer selects in one query."},
  {K::reclaimerSharedConnections, kScoped, "reclaimer.db.shared_connections", "boolean", "When true, the reclaimer threads share database connections."},
  {K::reclaimerThreadCount, kScoped, "reclaimer.thread_count", "int", "The number of reclaimer threads to be created."},
  {K::reclaimerMinInactiveDays, kScoped, "reclaimer.min_inactive_days", "int", "The number of days a binding must stay inactive before it is reclaimed."},
  {K::reclaimerLeadTime, kScoped, "reclaimer.lead_time", "int", "Minimum lag time between expiration of a binding and reclamation of the ip address due to time drift between client and server. Stated in seconds. The default is 10 seconds."},
  {K::reclaimerLeaseTolerance, kScoped, "reclaimer.lease_tolerance", "int", "The time, in seconds, a lease may run past its expiry before it is reclaimed."},
  {K::provisionerPrimaryAccountName, kScoped, "mprovisioner.account_name.primary", "string", "The account name given to the primary device of a provisioned client."},
  {K::provisionerSecondaryAccountName, kScoped, "mprovisioner.account_name.secondary", "string", "The account name given to the secondary devices of a provisioned client."},
  {K::provisionerReprovisionTime, kScoped, "mprovisioner.reprovision_time", "time span", "The age after which a provisioned device is provisioned again."},
  {K::provisionerReprovisionGroups, kScoped, "mprovisioner.reprovision_groups", "string", "A comma-delimited list of the groups whose devices are provisioned again."},
  {K::provisionerCreateDomains, kScoped, "mprovisioner.auto_provision.domains.create", "boolean", "When true, auto-provisioning creates the domains it needs."},
  {K::provisionerPrioritizeAccounts, kScoped, "mprovisioner.prioritize_accounts", "boolean", "When true, existing device accounts take precedence over auto-provisioning."},
  {K::provisionerDomainsPriority, kScoped, "mprovisioner.auto_provision.domains.priority", "int", "The priority given to domains created by auto-provisioning."},
  {K::pktstorePacketTypes, kScoped, "pktstore.packet_types", "string", "A comma-delimited list of the message types the packet store records."},
  {K::pktstoreCommitCount, kScoped, "pktstore.commit_count", "int", "The number of records the packet store module may store before making them visible to other modules. A larger value gives better performance, but results in delayed synchronization for failover and lease query. The default value is 100."},
  {K::lqOptionsAllowed, kScoped, "lq.options.allowed", "string", "A comma-delimited list of the options a lease query may ask for."},
  {K::lqSourcesAllowed, kScoped, "lq.sources.allowed", "string", "A comma-delimited list of the addresses lease queries are accepted from."},
  {K::pktstoreThreadCount, kScoped, "pktstore.thread_count", "int", "The number of packet store threads to be created."},
  {K::pktstoreSharedConnections, kScoped, "pktstore.db.shared_connections", "boolean", "When true, the packet store threads share database connections."},
  {K::syncSharedConnections, kScoped, "sync.db.shared_connections", "boolean", "When true, the synchronisation threads share database connections."},
  {K::syncInterval, kFree, "sync.interval", "int", "The interval, in seconds, between synchronisation runs."},
  {K::heartbeatInterval, kScoped, "heartbeat.interval", "int", "The interval, in seconds, between heartbeats sent to the failover partner."},
  {K::heartbeatMaxTimeout, kScoped, "heartbeat.max_timeout", "int", "The time, in seconds, without a heartbeat after which the failover partner counts as unreachable."},
  {K::snmpSharedConnections, kScoped, "snmp.db.shared_connections", "boolean", "When true, the SNMP agent threads share database connections."},
  {K::failoverListenOn, kScoped, "failover.listen_on", "string", "A comma-delimited list of local address:port endpoints the failover service should listen."},
  {K::reclaimerSessionIds, kScoped, "reclaimer.session_ids", "string", "A comma-delimited list of the failover sessions whose bindings this server reclaims."},
  {K::failoverSharedConnections, kScoped, "failover.db.shared_connections", "boolean", "When true, the failover threads share database connections."},
  {K::failoverPromoteAvailability, kScoped, "failover.promote_availability", "boolean", "When true, addresses of a partner that is down become available to this server."},
  {K::failoverFailSafePartnerDown, kScoped, "failover.fail_safe_partner_down", "boolean", "When true, the server enters partner-down state by itself once the partner has been unreachable long enough."},
  {K::reclaimerTransientsMaxTTL, kScoped, "reclaimer.transients_max_ttl", "int", "Maximum time a transient record can exist. This value must well exceed any normal cleanup of transients.It's supposed to avoid permanent loss of addresses when an error has occured. The default is 600."},
  {K::failoverShutdownFile, kScoped, "failover.shutdown_file", "string", "The file whose presence makes the failover service shut down."},
  {K::failoverSessionInitFile, kScoped, "failover.session.init_file", "string", "The file describing the failover sessions to create at start."},
  {K::failoverSessionResetFile, kScoped, "failover.session.reset_file", "string", "The file whose presence resets the failover sessions."},
  {K::failoverPoolreqInterval, kScoped, "failover.poolreq.interval", "int", "The interval, in seconds, between pool requests sent to the partner."},
  {K::failoverMaxPrimaryDelay, kScoped, "failover.max_primary_delay", "int", "The time, in seconds, the secondary server may lag behind the primary."},
  {K::failoverTcpConnectTimeout, kScoped, "failover.tcp_connect_timeout", "int", "The time, in seconds, allowed for a TCP connection to the partner to open."},
  {K::failoverTcpCongestionTimeout, kScoped, "failover.tcp_congestion_timeout", "int", "The time, in seconds, a congested TCP connection to the partner may block before it is dropped."},
  {K::failoverBisonDebug, kScoped, "failover.bison.debug", "boolean", "When true, the failover message parser writes debug output."},
  {K::failoverMaxBndupdSize, kScoped, "failover.max_bndupd_size", "int", "The maximum size, in bytes, of one binding update message."},
  {K::failoverMaxBndupdsBuffered, kScoped, "failover.max_bndupds_buffered", "int", "The maximum number of binding updates buffered before they are sent."},
  {K::failoverMaxBndupdsCached, kScoped, "failover.max_bndupds_cached", "int", "The maximum number of binding updates kept until the partner acknowledges them."},
  {K::failoverMaxPrstObjsCached, kScoped, "failover.max_prst_objs_cached", "int", "The maximum number of persistent objects the failover service caches."},
  {K::failoverMaxWaitBndupdTime, kScoped, "failover.max_wait_bndupd_time", "int", "The time, in seconds, a binding update may wait before it is sent."},
  {K::failoverMaxPktJitter, kScoped, "failover.max_pkt_jitter", "int", "The largest delay, in milliseconds, added at random to failover messages."},
  {K::failoverBackupMax, kScoped, "failover.backup_max", "int", "The percentage of a pool's free addresses held back for the secondary server."},
  {K::failoverBackupTotalMax, kScoped, "failover.backup_total_max", "int", "The maximum number of addresses held back for the secondary server in all pools."},
  {K::failoverBackupRequestTimeout, kScoped, "failover.backup_request_timeout", "int", "The time, in seconds, the secondary server waits for an answer to a request for backup addresses."},
  {K::failoverReceiveTimer, kScoped, "failover.receive_timer", "int", "The time, in seconds, without a message from the partner after which the connection is closed."},
  {K::failoverRecoverTimer, kScoped, "failover.recover_timer", "int", "The time, in seconds, the server stays in recover state before it moves on."},
  {K::failoverBndupdResendTimer, kScoped, "failover.bndupd_resend_timer", "int", "The time, in seconds, after which an unacknowledged binding update is sent again."},
  {K::failoverStartupTimer, kScoped, "failover.startup_timer", "int", "The time, in seconds, the server stays in startup state before it moves on."},
  {K::failoverForceUpdreqall, kScoped, "failover.force_updreqall", "boolean", "When true, the server asks the partner for all binding updates on every reconnection."},
  {K::lbalancerPairHba, kScoped, "lbalancer.pair.hba", "byte sequence", "Hash bucket assignment for a DHCP server pair. A sequence of 32 bytes of the form XX-XX-XX, where each bit of the bytes represents a hash bucket assignment. The format is described in RFC 3074."},
  {K::lbalancerLocalHba, kScoped, "lbalancer.local.hba", "byte sequence", "Hash bucket assignment for one member of a DHCP server pair. A sequence of 32 bytes of the form XX-XX-XX, where each bit of the bytes represents a hash bucket assignment. The format is described in RFC 3074."},
  {K::lbalancerLocalDs, kScoped, "lbalancer.local.ds", "string", "The load-balancing service scope this server answers for."},
  {K::eventLogFile, kFree, "system.events.file", "string", "A file to which the system bus appends every published lease event as one JSON line. Not set: no file."},
  {K::ddnsTsigName, kScoped, "ddns.tsig.name", "string", "The name of the TSIG key (HMAC-SHA256) that signs dynamic DNS updates. Not set: updates are sent unsigned."},
  {K::ddnsTsigSecret, kScoped, "ddns.tsig.secret", "string", "The secret of the TSIG key, base64-encoded as DNS servers write it. Never logged."},
  {K::ddnsQueueSize, kScoped, "ddns.queue_size", "int", "The number of dynamic DNS updates that may wait to be sent; when full, the oldest is dropped. Read at start. The default is 1024."},
  {K::ddnsTimeout, kScoped, "ddns.timeout", "int", "The time, in milliseconds, to wait for a DNS server's answer to one update. The default is 2000."},
  {K::ddnsRetries, kScoped, "ddns.retries", "int", "How often an update that timed out or got SERVFAIL is sent again, after a growing pause. The default is 3."},
  {K::ddnsDrainTime, kScoped, "ddns.drain_time", "int", "The time, in seconds, waiting updates may still be sent at shutdown. The default is 3."},
  {K::metricsListenOn, kFree, "stats.metrics.listen_on", "string", "The address and port on which the server's metrics are served over HTTP for Prometheus (/metrics): a port alone listens on the loopback address [::1]. Not set: no endpoint."},
};
// clang-format on

static_assert(sizeof kRows / sizeof kRows[0] == static_cast<std::size_t>(K::count),
              "one row per key");

// "ipv<f>.dhcpv<f>." followed by the suffix.
std::string scopedName(CProtocolFamily family, const char* suffix) {
  const std::string digit = std::to_string(family.value());
  return "ipv" + digit + ".dhcpv" + digit + "." + suffix;
}

}  // namespace

void CDHCPConfigNames::initDescriptionData(CProtocolFamily family) {
  static_assert(_inKeyOrder(kRows), "rows in key order");
  for (const Row& row : kRows)
    if (row.type)
      _addConfigName(row.scoped ? scopedName(family, row.name) : row.name,
                     _describe(row.type, row.text));
}

std::string CDHCPConfigNames::keyName(DHCPKey key, CProtocolFamily family) {
  const Row& row = kRows[static_cast<std::size_t>(key)];
  return row.scoped ? scopedName(family, row.name) : row.name;
}
