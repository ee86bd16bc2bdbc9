#pragma once
// The registry of process-wide configuration key names. Code never spells a
// key at the point of use: it asks the registry's accessor, and a loaded
// configuration is validated against the registered names. Each registered
// name carries a one-line description beginning with its type word
// ("int - ...", "boolean - ...").

#include <cstddef>
#include <cstdint>
#include <string>

#include "standard/CStringMap.h"

namespace nuv {

class CConfigNames {
 public:
  // One per key, in registration order. The last eight have accessors but
  // are not registered (nothing validates them).
  enum class Key : std::uint8_t {
    msgLocale,
    msgFile,
    sharedKey,
    systemIndex,
    logTargetFile,
    logTargetRsyslog,
    logTargetEventlog,
    logTargetStdout,
    logSynchronous,
    logTargets,
    logFacility,
    logLevels,
    chrootPath,
    privUID,
    privGID,
    plugins,
    rconsolePort,
    rconsoleGuestLogin,
    rconsoleMinClientVersion,
    rconsoleListenOn,
    rconsoleSharedConnections,
    rconsoleEncryption,
    rconsolePassword,
    rconsolePrivateKeyFile,
    rconsolePrivateKeyPath,
    rconsoleForceCommitAfterSelect,
    rconsoleCommitTimeOut,
    rconsoleMaxSelectCount,
    udpPublisherSubscribersFile,
    udpPublisherMaxHistory,
    udpPublisherLatency,
    dbSoftVsHardCommitRatio,
    dbStatementsFile,
    dbTableGroupsFile,
    dbUserSqlQueriesFile,
    dbUserSqlQueryGroupsFile,
    storagePath,
    dbPath,
    dbName,
    dbSyncQueries,
    dbHostname,
    dbCacheBuffers,
    dbUser,
    dbPassword,
    dbPageSize,
    dbSchemaVersion,
    dbVersionsPath,
    dbSecondaryFilesCount,
    dbSecondaryFilesMaxSize,
    ipv6Enable,
    defaultPrivateKeyFile,
    dbMemStartMax,
    dbMemSizeSortBuffer,
    dbMemSizeBuffer,
    dbMemBlocksSize,
    dbMemBlocksCacheExtend,
    dbMemBlocksCacheStart,
    dbLocksExclusive,
    count
  };

  CConfigNames();
  CConfigNames(const CConfigNames&) = default;
  CConfigNames& operator=(const CConfigNames&) = default;
  virtual ~CConfigNames() = default;

  // The database schema version expected unless "system.db.schema.version"
  // overrides it; the base set of names has no database.
  virtual int dbValueDefaultSchemaVersionNumber() const;

  bool nameExists(const std::string& name) const { return m_names.has(name); }
  // The description of a registered name, empty for an unknown one.
  std::string description(const std::string& name) const { return m_names.get(name); }
  CStringMap all() const { return m_names; }
  // Throws naming the first key, in the map's order, that is not registered.
  void validate(const CStringMap& config) const;

  static std::string keyName(Key key);

  static std::string msgLocale() { return keyName(Key::msgLocale); }
  static std::string msgFile() { return keyName(Key::msgFile); }
  static std::string sharedKey() { return keyName(Key::sharedKey); }
  static std::string systemIndex() { return keyName(Key::systemIndex); }
  static std::string logTargetFile() { return keyName(Key::logTargetFile); }
  static std::string logTargetRsyslog() { return keyName(Key::logTargetRsyslog); }
  static std::string logTargetEventlog() { return keyName(Key::logTargetEventlog); }
  static std::string logTargetStdout() { return keyName(Key::logTargetStdout); }
  static std::string logSynchronous() { return keyName(Key::logSynchronous); }
  static std::string logTargets() { return keyName(Key::logTargets); }
  static std::string logFacility() { return keyName(Key::logFacility); }
  static std::string logLevels() { return keyName(Key::logLevels); }
  static std::string chrootPath() { return keyName(Key::chrootPath); }
  static std::string privUID() { return keyName(Key::privUID); }
  static std::string privGID() { return keyName(Key::privGID); }
  static std::string plugins() { return keyName(Key::plugins); }
  static std::string rconsolePort() { return keyName(Key::rconsolePort); }
  static std::string rconsoleGuestLogin() { return keyName(Key::rconsoleGuestLogin); }
  static std::string rconsoleMinClientVersion() { return keyName(Key::rconsoleMinClientVersion); }
  static std::string rconsoleListenOn() { return keyName(Key::rconsoleListenOn); }
  static std::string rconsoleSharedConnections() { return keyName(Key::rconsoleSharedConnections); }
  static std::string rconsoleEncryption() { return keyName(Key::rconsoleEncryption); }
  static std::string rconsolePassword() { return keyName(Key::rconsolePassword); }
  static std::string rconsolePrivateKeyFile() { return keyName(Key::rconsolePrivateKeyFile); }
  static std::string rconsolePrivateKeyPath() { return keyName(Key::rconsolePrivateKeyPath); }
  static std::string rconsoleForceCommitAfterSelect() {
    return keyName(Key::rconsoleForceCommitAfterSelect);
  }
  static std::string rconsoleCommitTimeOut() { return keyName(Key::rconsoleCommitTimeOut); }
  static std::string rconsoleMaxSelectCount() { return keyName(Key::rconsoleMaxSelectCount); }
  static std::string udpPublisherSubscribersFile() {
    return keyName(Key::udpPublisherSubscribersFile);
  }
  static std::string udpPublisherMaxHistory() { return keyName(Key::udpPublisherMaxHistory); }
  static std::string udpPublisherLatency() { return keyName(Key::udpPublisherLatency); }
  static std::string dbSoftVsHardCommitRatio() { return keyName(Key::dbSoftVsHardCommitRatio); }
  static std::string dbStatementsFile() { return keyName(Key::dbStatementsFile); }
  static std::string dbTableGroupsFile() { return keyName(Key::dbTableGroupsFile); }
  static std::string dbUserSqlQueriesFile() { return keyName(Key::dbUserSqlQueriesFile); }
  static std::string dbUserSqlQueryGroupsFile() { return keyName(Key::dbUserSqlQueryGroupsFile); }
  static std::string storagePath() { return keyName(Key::storagePath); }
  static std::string dbPath() { return keyName(Key::dbPath); }
  static std::string dbName() { return keyName(Key::dbName); }
  static std::string dbSyncQueries() { return keyName(Key::dbSyncQueries); }
  static std::string dbHostname() { return keyName(Key::dbHostname); }
  static std::string dbCacheBuffers() { return keyName(Key::dbCacheBuffers); }
  static std::string dbUser() { return keyName(Key::dbUser); }
  static std::string dbPassword() { return keyName(Key::dbPassword); }
  static std::string dbPageSize() { return keyName(Key::dbPageSize); }
  static std::string dbSchemaVersion() { return keyName(Key::dbSchemaVersion); }
  static std::string dbVersionsPath() { return keyName(Key::dbVersionsPath); }
  static std::string dbSecondaryFilesCount() { return keyName(Key::dbSecondaryFilesCount); }
  static std::string dbSecondaryFilesMaxSize() { return keyName(Key::dbSecondaryFilesMaxSize); }
  static std::string ipv6Enable() { return keyName(Key::ipv6Enable); }
  static std::string defaultPrivateKeyFile() { return keyName(Key::defaultPrivateKeyFile); }
  static std::string dbMemStartMax() { return keyName(Key::dbMemStartMax); }
  static std::string dbMemSizeSortBuffer() { return keyName(Key::dbMemSizeSortBuffer); }
  static std::string dbMemSizeBuffer() { return keyName(Key::dbMemSizeBuffer); }
  static std::string dbMemBlocksSize() { return keyName(Key::dbMemBlocksSize); }
  static std::string dbMemBlocksCacheExtend() { return keyName(Key::dbMemBlocksCacheExtend); }
  static std::string dbMemBlocksCacheStart() { return keyName(Key::dbMemBlocksCacheStart); }
  static std::string dbLocksExclusive() { return keyName(Key::dbLocksExclusive); }

 protected:
  // A second insert of the same name (in any case) keeps the first.
  void _addConfigName(const std::string& name, const std::string& description);

  // "<type> - <text>": every description starts with the value's type word.
  static std::string _describe(const char* type, const char* text);

  // True when row i of a key table describes key i, so that accessors can
  // index the table by their key.
  template <class Row, std::size_t N>
  static constexpr bool _inKeyOrder(const Row (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i)
      if (static_cast<std::size_t>(rows[i].key) != i) return false;
    return true;
  }

 private:
  CStringMap m_names{false};
};

}  // namespace nuv
