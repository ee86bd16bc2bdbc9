#pragma once
// The DHCP server's configuration key names on top of the process-wide
// ones. Most keys are scoped to a protocol family: their full name is
// "ipv<f>.dhcpv<f>." followed by the key's suffix.

#include <cstdint>
#include <string>

#include "extended/CConfigNames.h"
#include "extended/CProtocolFamily.h"

class CDHCPConfigNames : public nuv::CConfigNames {
 public:
  // One per key, in registration order: the keys this server reads, then the
  // keys of the services that run beside it (registered so that a
  // configuration carrying them validates).
  enum class DHCPKey : std::uint8_t {
    serverDUID,
    debugNoSend,
    engineThreadCount,
    engineSharedConnections,
    daemonListenOn,
    defaultDaemonPort,
    maxFrontendDgRcv,
    maxPendingAge,
    pendingGarbageInterval,
    deleteOnRelease,
    authoritativeDHCP,
    matchLocalSegmentPools,
    maxEngineOptionPoolSize,
    enginePoolCacheSize,
    engineQuerySources,
    repeatOffers,
    maxApplicablePolicies,
    denyRAS,
    privateServer,
    optionsFile,
    vendorsFile,
    rconsoleV3Api,
    statsSharedConnections,
    statsSampleRate,
    statsRetentionAge,
    ddnsDefaultServer,
    ddnsDefaultTTL,
    maxOpenFiles,
    dhcpv4ClientIdGenerator,
    snmpExtDll,
    arpHelperDll,
    dhcpv4DynamicBootp,
    systemExtension,
    reclaimerInterval,
    reclaimerMarkersEnable,
    reclaimerSelectCount,
    reclaimerSharedConnections,
    reclaimerThreadCount,
    reclaimerMinInactiveDays,
    reclaimerLeadTime,
    reclaimerLeaseTolerance,
    provisionerPrimaryAccountName,
    provisionerSecondaryAccountName,
    provisionerReprovisionTime,
    provisionerReprovisionGroups,
    provisionerCreateDomains,
    provisionerPrioritizeAccounts,
    provisionerDomainsPriority,
    pktstorePacketTypes,
    pktstoreCommitCount,
    lqOptionsAllowed,
    lqSourcesAllowed,
    pktstoreThreadCount,
    pktstoreSharedConnections,
    syncSharedConnections,
    syncInterval,
    heartbeatInterval,
    heartbeatMaxTimeout,
    snmpSharedConnections,
    failoverListenOn,
    reclaimerSessionIds,
    failoverSharedConnections,
    failoverPromoteAvailability,
    failoverFailSafePartnerDown,
    reclaimerTransientsMaxTTL,
    failoverShutdownFile,
    failoverSessionInitFile,
    failoverSessionResetFile,
    failoverPoolreqInterval,
    failoverMaxPrimaryDelay,
    failoverTcpConnectTimeout,
    failoverTcpCongestionTimeout,
    failoverBisonDebug,
    failoverMaxBndupdSize,
    failoverMaxBndupdsBuffered,
    failoverMaxBndupdsCached,
    failoverMaxPrstObjsCached,
    failoverMaxWaitBndupdTime,
    failoverMaxPktJitter,
    failoverBackupMax,
    failoverBackupTotalMax,
    failoverBackupRequestTimeout,
    failoverReceiveTimer,
    failoverRecoverTimer,
    failoverBndupdResendTimer,
    failoverStartupTimer,
    failoverForceUpdreqall,
    lbalancerPairHba,
    lbalancerLocalHba,
    lbalancerLocalDs,
    // This host's own: the system bus plug-in's audit trail of lease events.
    eventLogFile,
    // The DNS update plug-in's: the TSIG key its updates are signed with and
    // how its queue and sender behave.
    ddnsTsigName,
    ddnsTsigSecret,
    ddnsQueueSize,
    ddnsTimeout,
    ddnsRetries,
    ddnsDrainTime,
    // The statistics' HTTP endpoint for Prometheus.
    metricsListenOn,
    count
  };

  CDHCPConfigNames() = default;
  // Registers the DHCP keys of the family on top of the process-wide ones.
  explicit CDHCPConfigNames(CProtocolFamily family) { initDescriptionData(family); }

  // The database schema version this server expects.
  int dbValueDefaultSchemaVersionNumber() const override { return 31; }

  // Registers every DHCP key of one family with its description.
  void initDescriptionData(CProtocolFamily family);

  using nuv::CConfigNames::keyName;
  // The full key name; family-free keys ignore the family.
  static std::string keyName(DHCPKey key, CProtocolFamily family);

  static std::string serverDUID() { return keyName(DHCPKey::serverDUID, 6); }
  static std::string debugNoSend() { return keyName(DHCPKey::debugNoSend, 6); }

  static std::string engineThreadCount(CProtocolFamily f) {
    return keyName(DHCPKey::engineThreadCount, f);
  }
  static std::string engineSharedConnections(CProtocolFamily f) {
    return keyName(DHCPKey::engineSharedConnections, f);
  }
  static std::string daemonListenOn(CProtocolFamily f) {
    return keyName(DHCPKey::daemonListenOn, f);
  }
  static std::string defaultDaemonPort(CProtocolFamily f) {
    return keyName(DHCPKey::defaultDaemonPort, f);
  }
  static std::string maxFrontendDgRcv(CProtocolFamily f) {
    return keyName(DHCPKey::maxFrontendDgRcv, f);
  }
  static std::string maxPendingAge(CProtocolFamily f) { return keyName(DHCPKey::maxPendingAge, f); }
  static std::string pendingGarbageInterval(CProtocolFamily f) {
    return keyName(DHCPKey::pendingGarbageInterval, f);
  }
  static std::string deleteOnRelease(CProtocolFamily f) {
    return keyName(DHCPKey::deleteOnRelease, f);
  }
  static std::string authoritativeDHCP(CProtocolFamily f) {
    return keyName(DHCPKey::authoritativeDHCP, f);
  }
  static std::string matchLocalSegmentPools(CProtocolFamily f) {
    return keyName(DHCPKey::matchLocalSegmentPools, f);
  }
  static std::string maxEngineOptionPoolSize(CProtocolFamily f) {
    return keyName(DHCPKey::maxEngineOptionPoolSize, f);
  }
  static std::string enginePoolCacheSize(CProtocolFamily f) {
    return keyName(DHCPKey::enginePoolCacheSize, f);
  }
  static std::string engineQuerySources(CProtocolFamily f) {
    return keyName(DHCPKey::engineQuerySources, f);
  }
  static std::string repeatOffers(CProtocolFamily f) { return keyName(DHCPKey::repeatOffers, f); }
  static std::string maxApplicablePolicies(CProtocolFamily f) {
    return keyName(DHCPKey::maxApplicablePolicies, f);
  }
  static std::string denyRAS(CProtocolFamily f) { return keyName(DHCPKey::denyRAS, f); }
  static std::string privateServer(CProtocolFamily f) { return keyName(DHCPKey::privateServer, f); }
  static std::string optionsFile(CProtocolFamily f) { return keyName(DHCPKey::optionsFile, f); }
  static std::string vendorsFile(CProtocolFamily f) { return keyName(DHCPKey::vendorsFile, f); }
  static std::string eventLogFile() { return keyName(DHCPKey::eventLogFile, 6); }
  static std::string metricsListenOn() { return keyName(DHCPKey::metricsListenOn, 6); }
};
