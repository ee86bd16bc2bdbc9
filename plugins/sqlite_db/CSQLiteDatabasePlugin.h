#pragma once
// The embedded database provider (SQLite): one database file under the
// variable-data directory ("system.db.path", default the storage path;
// "system.db.name", default "dhcp6d.db"), created with its schema on first
// start; one connection per thread.
//
// Concurrency: every transaction starts with BEGIN IMMEDIATE, so writers
// take the database's write lock in turn (waiting up to the busy timeout)
// and a transaction never works on rows another one is changing.
// Checkpoints run on a thread of their own (CSQLiteCheckpointer).

#include <memory>

#include "extended/CPlugin.h"
#include "oodb_persistence/CPrstDatabase.h"

class CSQLiteCheckpointer;

class CSQLiteDatabasePlugin : public CPlugin, public CPrstDatabase {
 public:
  int openPlugin() override;
  void closePlugin() override;
  std::string pluginName() const override { return "SQLite Database"; }
  std::string pluginInterface() const override {
    return "CIDatabaseInit,CSQLiteDatabasePlugin,CPlugin";
  }

  std::string databaseImplementation() const override { return "sqlite"; }
  const std::string& path() const { return m_path; }

 protected:
  std::unique_ptr<CSqlConnection> _connect() override;
  void _configure(const nuv::CConfig& config, const std::string& varDir) override;
  std::string _where() const override { return "'" + m_path + "'"; }

 private:
  std::string m_path;
  bool m_flushEveryCommit = false;
  // Shared with the connections, which may close after the plug-in.
  std::shared_ptr<CSQLiteCheckpointer> m_checkpointer;
};
