#include "plugins/sqlite_db/CSQLiteDatabasePlugin.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "extended/CConfigNames.h"
#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"
#include "plugins/sqlite_db/CSQLiteCheckpointer.h"
#include "plugins/sqlite_db/CSQLiteConnection.h"
#include "standard/CDataDir.h"

int CSQLiteDatabasePlugin::openPlugin() {
  return openFor(*controller(), pluginName(), nuv::CDataDir::path());
}

void CSQLiteDatabasePlugin::closePlugin() {
  close();
  m_checkpointer.reset();
}

void CSQLiteDatabasePlugin::_configure(const nuv::CConfig& config, const std::string& varDir) {
  using Names = nuv::CConfigNames;
  const std::string dir = config.get(Names::dbPath(), varDir);
  mkdir(dir.c_str(), 0750);
  m_path = dir + "/" + config.get(Names::dbName(), "dhcp6d.db");
  // 0: no soft commits, every commit is flushed to disk before it returns.
  m_flushEveryCommit = config.get_uint32(Names::dbSoftVsHardCommitRatio(), 1) == 0;
  // Every client's DUID and lease is in it: a new database is the owner's
  // only, and its -wal and -shm files take the same mode.
  const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) ::close(fd);
  m_checkpointer = std::make_shared<CSQLiteCheckpointer>(m_path);
}

std::unique_ptr<CSqlConnection> CSQLiteDatabasePlugin::_connect() {
  return std::make_unique<CSQLiteConnection>(m_path, m_flushEveryCommit, m_checkpointer);
}

NUV_PLUGIN_ENTRY(CSQLiteDatabasePlugin)
