#pragma once
// The PostgreSQL database provider, for several servers on several
// machines sharing one database. Configured by "system.db.hostname" (a
// host, "host:port" or "[v6-address]:port"; default local socket),
// "system.db.name" (default "dhcp6d"), "system.db.user" and
// "system.db.password".
//
// Without "system.db.hostname" the plug-in declines to open (the embedded
// provider serves); with it, it is the provider the server finds first.
//
// Concurrency: transactions run at READ COMMITTED. Every update and delete
// names the row version it read (ROW_VERSION); when another server or
// thread committed a change to the row first, the statement waits for that
// commit, then changes nothing and is reported as a conflict, so the
// transaction is rolled back and no update is silently lost. Concurrent
// first starts are serialised by an advisory lock while the schema is made.

#include "extended/CPlugin.h"
#include "oodb_persistence/CPrstDatabase.h"

class CPgDatabasePlugin : public CPlugin, public CPrstDatabase {
 public:
  int openPlugin() override;
  void closePlugin() override { close(); }
  std::string pluginName() const override { return "PostgreSQL Database"; }
  std::string pluginInterface() const override {
    return "CIDatabaseInit,CPgDatabasePlugin,CPlugin";
  }

  std::string databaseImplementation() const override { return "pgsql"; }
  // The libpq connection string built from the configuration.
  const std::string& connInfo() const { return m_connInfo; }

  // host[:port] as configured: "db.example", "10.0.0.5:5433", "[2001:db8::5]:5433".
  static void splitHostPort(const std::string& text, std::string& host, std::string& port);

 protected:
  std::unique_ptr<CSqlConnection> _connect() override;
  void _configure(const nuv::CConfig& config, const std::string& varDir) override;
  std::string _where() const override { return m_where; }

 private:
  std::string m_connInfo;
  std::string m_where;
};
