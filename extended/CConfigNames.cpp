#include "extended/CConfigNames.h"

#include "standard/CException.h"

namespace nuv {

namespace {

struct Row {
  CConfigNames::Key key;
  const char* name;
  const char* type;  // null: the key has an accessor but is not registered
  const char* text;
};

using K = CConfigNames::Key;

// clang-format off
constexpr Row kRows[] = {
  {K::msgLocale, "system.msg.locale", "string", "A locale specifier for the system having the format 'language_territory'. The default is 'en_us'."},
  {K::msgFile, "system.msg.file", "string", "The path to a file containing translations for system messages. If not specified, messages are displayed in US English."},
  // Registered once: one key, one description.
  {K::sharedKey, "system.shared_key", "byte sequence", "A secret key used to authenticate cooperating servers."},
  {K::systemIndex, "system.index", "int", "The index of this server among the cooperating servers."},
  {K::logTargetFile, "system.log.target.file", "string", "The path of the file that receives log output when the file target is selected."},
  {K::logTargetRsyslog, "system.log.target.rsyslog", "name or address", "The syslog host that receives log output when the rsyslog target is selected."},
  {K::logTargetEventlog, "system.log.target.eventlog", "string", "The event source name used when the eventlog target is selected."},
  {K::logTargetStdout, "system.log.target.stdout", "boolean", "When true, log output is also written to standard output."},
  {K::logSynchronous, "system.log.synchronous", "boolean", "When true, log entries are written by the calling thread instead of a background writer."},
  {K::logTargets, "system.log.targets", "string", "A list of output devices for logging (stdout,eventlog,rsyslog,file)."},
  {K::logFacility, "system.log.facility", "string", "The syslog facility log entries are written under (for example daemon or local0)."},
  {K::logLevels, "system.log.levels", "string", "A list of names specifying the types of messages to log (error,warning,info,debug)."},
  {K::chrootPath, "system.priv.chroot_path", "string", "The directory the process changes its root to after start. Empty for none."},
  {K::privUID, "system.priv.uid", "int", "The user id the process switches to after start."},
  {K::privGID, "system.priv.gid", "int", "The group id the process switches to after start."},
  {K::plugins, "system.plugins", "string", "A list of plugins this process should load."},
  {K::rconsolePort, "rconsole.port", "int", "The TCP port the remote console listens on."},
  {K::rconsoleGuestLogin, "rconsole.guest_login", "boolean", "When true, the remote console accepts logins to the guest account."},
  {K::rconsoleMinClientVersion, "rconsole.min_client_version", "string", "The oldest remote console client version allowed to connect."},
  {K::rconsoleListenOn, "rconsole.listen_on", "string", "A comma-delimited list of local address:port endpoints the remote console should listen."},
  {K::rconsoleSharedConnections, "rconsole.db.shared_connections", "boolean", "When true, remote console sessions share database connections."},
  {K::rconsoleEncryption, "rconsole.encryption", "boolean", "When true, remote console traffic is encrypted."},
  {K::rconsolePassword, "rconsole.password", "string", "The password of the remote console administrator account."},
  {K::rconsolePrivateKeyFile, "rconsole.private_key_file", "string", "The name of the file holding the remote console's private key."},
  {K::rconsolePrivateKeyPath, "rconsole.private_key_path", "string", "The directory holding the remote console's private key file."},
  {K::rconsoleForceCommitAfterSelect, "rconsole.force_commit_after_select", "boolean", "When true, the console closes the transaction right after every 'select' operation."},
  {K::rconsoleCommitTimeOut, "rconsole.commit_time_out", "long", "Interval, in seconds, that the console wait until it closes the transaction of a 'select' operation? Default 600 seconds"},
  {K::rconsoleMaxSelectCount, "rconsole.max_select_count", "long", "maximum number of records a user can request for a single SELECT/SELECT_NEXT. That is, upper limit of 'count' argument. Default 10000"},
  {K::udpPublisherSubscribersFile, "udp_publisher.subscribers.file", "string", "The file listing the subscribers that receive published events over UDP."},
  {K::udpPublisherMaxHistory, "udp_publisher.max_history", "int", "The number of published events kept for subscribers that ask for a repeat."},
  {K::udpPublisherLatency, "udp_publisher.latency", "int", "The time, in milliseconds, an event may wait to be sent together with later ones."},
  {K::dbSoftVsHardCommitRatio, "system.db.soft_vs_hard_commit_ratio", "int", "The number of soft commits made for each commit that is flushed to disk."},
  {K::dbStatementsFile, "system.db.statements.file", "string", "The file containing the named SQL statements of the database provider."},
  {K::dbTableGroupsFile, "system.db.table_groups.file", "string", "The file defining the groups of database tables."},
  {K::dbUserSqlQueriesFile, "system.db.user_sql_queries.file", "string", "The file containing the stored user SQL queries."},
  {K::dbUserSqlQueryGroupsFile, "system.db.user_sql_query_groups.file", "string", "The file containing the groups of stored user SQL queries."},
  {K::storagePath, "system.storage.path", "string", "The directory under which the process keeps its data files."},
  {K::dbPath, "system.db.path", "string", "The directory holding the database files."},
  {K::dbName, "system.db.name", "string", "The name of the database."},
  {K::dbSyncQueries, "system.db.sync_queries", "boolean", "When true, database queries are run one at a time."},
  {K::dbHostname, "system.db.hostname", "name or address", "The host of the database server."},
  {K::dbCacheBuffers, "system.db.cache_buffers", "int", "The number of database cache buffers."},
  {K::dbUser, "system.db.user", "string", "The user name used to connect to the database."},
  {K::dbPassword, "system.db.password", "string", "The password used to connect to the database."},
  {K::dbPageSize, "system.db.page_size", "int", "The database page size in bytes."},
  {K::dbSchemaVersion, "system.db.schema.version", "int", "Overrides the version number embedded in the application."},
  {K::dbVersionsPath, "system.db.versions_path", "string", "The directory containing the database schema upgrade files."},
  {K::dbSecondaryFilesCount, "system.db.secondary_files.count", "int", "The number of secondary database files."},
  {K::dbSecondaryFilesMaxSize, "system.db.secondary_files.max_size", "size_t", "The maximum size, in bytes, of one secondary database file."},
  {K::ipv6Enable, "ipv6.enable", "boolean", "When true, the server's general communication subsystems will attempt to use ipv6 if available."},
  {K::defaultPrivateKeyFile, "private_key.bin", nullptr, nullptr},
  {K::dbMemStartMax, "system.db.mem_start_max", nullptr, nullptr},
  {K::dbMemSizeSortBuffer, "system.db.mem_size_sort_buffer", nullptr, nullptr},
  {K::dbMemSizeBuffer, "system.db.mem_size_buffer", nullptr, nullptr},
  {K::dbMemBlocksSize, "system.db.mem_blocks.size", nullptr, nullptr},
  {K::dbMemBlocksCacheExtend, "system.db.mem_blocks.cache.extend", nullptr, nullptr},
  {K::dbMemBlocksCacheStart, "system.db.mem_blocks.cache.start", nullptr, nullptr},
  {K::dbLocksExclusive, "system.db.locks.exclusive", nullptr, nullptr},
};
// clang-format on

constexpr std::size_t kRowCount = sizeof kRows / sizeof kRows[0];
static_assert(kRowCount == static_cast<std::size_t>(K::count), "one row per key");

}  // namespace

CConfigNames::CConfigNames() {
  static_assert(_inKeyOrder(kRows), "rows in key order");
  for (const Row& row : kRows)
    if (row.type) _addConfigName(row.name, _describe(row.type, row.text));
}

int CConfigNames::dbValueDefaultSchemaVersionNumber() const {
  NUV_THROW("CConfigNames::dbValueDefaultSchemaVersionNumber",
            CMessage("Cannot provide a default database schema number."),
            CMessage("This product does not have a database."));
}

namespace {
// Whole numbers ("int", "long") must read as such and not be negative;
// booleans must read as one. Counts, intervals, sizes and identities are
// never negative, and a value that does not read fails before anything
// starts rather than when its reader first asks.
void checkValue(const CStringMap& config, const std::string& key, const std::string& description) {
  const std::string type = description.substr(0, description.find(" - "));
  bool negative = false;
  if (type == "int")
    negative = config.get_int32(key, 0) < 0;
  else if (type == "long")
    negative = config.get_int64(key, 0) < 0;
  else if (type == "boolean")
    config.get_bool(key, false);
  if (negative)
    NUV_THROW("CConfigNames::validate",
              CMessage("Cannot validate configuration key '%1'.").pushs(key),
              CMessage("Value '%1' is negative.").pushs(config.get(key)));
}
}  // namespace

void CConfigNames::validate(const CStringMap& config) const {
  for (const auto& entry : config) {
    const std::string* description = m_names.getp(entry.first);
    if (!description)
      NUV_THROW("CConfigNames::validate",
                CMessage("Cannot validate configuration key '%1'.").pushs(entry.first),
                CMessage("Unrecognized key."));
    checkValue(config, entry.first, *description);
  }
}

std::string CConfigNames::keyName(Key key) {
  return kRows[static_cast<std::size_t>(key)].name;
}

void CConfigNames::_addConfigName(const std::string& name, const std::string& description) {
  if (!m_names.has(name)) m_names.set(name, description);
}

std::string CConfigNames::_describe(const char* type, const char* text) {
  return std::string(type) + " - " + text;
}

}  // namespace nuv
