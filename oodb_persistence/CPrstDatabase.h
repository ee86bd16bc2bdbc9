#pragma once
// The engine-independent part of a database provider: it loads the
// statement file, creates the schema of a new database (the schema scripts
// the statement files name, then the version row) or checks the version of
// an existing one, and precompiles the statements marked "precompile" so
// that a bad statement stops the start. An engine adds its connections.
//
// Statements it needs from the statement file: TRANSACTION_BEGIN,
// TRANSACTION_COMMIT, TRANSACTION_ROLLBACK, SCHEMA_LOCK (serialises
// concurrent first starts), SCHEMA_EXISTS (a count: 0 for a new database),
// SCHEMA_VERSION_SELECT ("SELECT * FROM SCHEMA_VERSION") and
// SCHEMA_VERSION_INSERT (NUMBER).

#include <memory>

#include "extended/CLogSink.h"
#include "oodb_persistence/CIDatabaseInit.h"
#include "oodb_persistence/CPrstDatabaseSettings.h"

class CPrstDatabase : public CIDatabaseInit {
 public:
  // Throws when a file cannot be read (naming the file and line), the
  // database cannot be opened, or its schema version is not the expected one.
  void initialize(const CPrstDatabaseSettings& settings, CLogSink* log);
  bool initialized() const { return m_spec != nullptr; }
  // A provider plug-in's open: reads its settings from the controller's
  // configuration (_configure, then the common ones with the data files
  // under dataDir), initialises, and logs the outcome. 0 on success.
  int openFor(CMasterController& controller, const std::string& pluginName,
              const std::string& dataDir);
  void close() { m_spec.reset(); }

  std::unique_ptr<CSqlConnection> openConnection() override { return _connect(); }
  std::unique_ptr<CPrstDBSession> openSession(
      const std::vector<const CIPrstAbstractFactory*>& factories) override;
  const CSqlStatementSpec& statements() const override;
  int schemaVersion() const override { return m_version; }

 protected:
  // A new connection to the configured database; throws "Cannot open
  // database '%1'." when it cannot be opened.
  virtual std::unique_ptr<CSqlConnection> _connect() = 0;
  // Takes the engine's own settings (file, server, credentials); throws on
  // an unusable one.
  virtual void _configure(const nuv::CConfig& config, const std::string& varDir) = 0;
  // The database as messages name it (a file path, "host:port/name").
  virtual std::string _where() const = 0;

 private:
  void _prepareSchema(CSqlConnection& conn, const CSqlStatementSpec& spec, int expected);
  void _runScript(CSqlConnection& conn, const std::string& path);

  std::shared_ptr<const CSqlStatementSpec> m_spec;
  int m_version = 0;
  CLogSink* m_log = nullptr;
};
