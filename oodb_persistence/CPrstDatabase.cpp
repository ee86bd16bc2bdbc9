#include "oodb_persistence/CPrstDatabase.h"

#include <fstream>

#include "extended/CDHCPConfigNames.h"
#include "extended/CIDHCPController.h"
#include "oodb/CPrstException.h"
#include "oodb/CPrstGenericObjectAbstractFactory.h"
#include "oodb_persistence/CPrstStatementTemplate.h"
#include "standard/StringUtil.h"

CIDatabaseInit::~CIDatabaseInit() = default;

CIDatabaseInit& CIDatabaseInit::find(const CMasterController& controller,
                                     const std::string& implementation) {
  for (CPlugin* plugin : controller.findPluginTypes("CIDatabaseInit")) {
    auto* db = dynamic_cast<CIDatabaseInit*>(plugin);
    if (db && (implementation.empty() || db->databaseImplementation() == implementation))
      return *db;
  }
  PRST_THROW("CIDatabaseInit::find",
             nuv::CMessage("Unable to find a factory using database implementation '%1'.")
                 .pushs(implementation),
             nuv::CMessage("No such plug-in."));
}

namespace {

// Runs a statement of the file without a session; the first column of its
// first row (0 when it returns none).
std::int64_t runNamed(CSqlConnection& conn, const CSqlStatementSpec& spec, const std::string& name,
                      const std::vector<CDBValue>& params = {}, bool wantValue = false) {
  auto stmt = conn.prepare(name, spec.get(name).statement);
  stmt->execute(params);
  std::int64_t v = 0;
  if (wantValue && stmt->columnCount() > 0 && stmt->next()) v = stmt->column(0).asInt64();
  stmt->reset();
  return v;
}

}  // namespace

void CPrstDatabase::initialize(const CPrstDatabaseSettings& settings, CLogSink* log) {
  m_log = log;
  auto spec = std::make_shared<CSqlStatementSpec>();
  try {
    spec->load(settings.statementFile);
    if (!settings.tableGroupsFile.empty()) spec->loadTableGroups(settings.tableGroupsFile);
  } catch (const nuv::CException& e) {
    PRST_THROW(
        "CPrstDatabase::initialize",
        nuv::CMessage("Cannot load sql statement spec file '%1'.").pushs(settings.statementFile),
        nuv::CMessage(e.whatText() + " " + e.whyText()));
  }
  const int expected = settings.expectedSchemaVersion();
  if (settings.configuredSchemaVersion && log)
    log->log(
        nuv::sev_warning,
        nuv::CMessage("Configured schema version %1 is overriding application schema version %2.")
            .push(*settings.configuredSchemaVersion)
            .push(settings.appSchemaVersion));
  m_spec = spec;
  try {
    auto conn = _connect();
    _prepareSchema(*conn, *spec, expected);
    for (const auto& [name, rec] : spec->records()) {
      if (!rec.precompile) continue;
      // A per-table template is tried on every table of its group.
      std::vector<std::string> sqls;
      if (!rec.isTemplate()) {
        sqls.push_back(rec.statement);
      } else if (auto g = spec->tableGroups().find(rec.group); g != spec->tableGroups().end()) {
        for (const auto& table : g->second)
          sqls.push_back(CPrstStatementTemplate::expand(name, rec.statement, table, {}));
      }
      try {
        for (const auto& sql : sqls) conn->prepare(name, sql);
      } catch (const nuv::CException& e) {
        PRST_THROW("CPrstDatabase::initialize",
                   nuv::CMessage("Unable to precompile statement '%1'.").pushs(name),
                   nuv::CMessage("%1 (file '%2', line %3)")
                       .pushs(e.whyText())
                       .pushs(rec.file)
                       .push(rec.line));
      }
    }
  } catch (...) {
    m_spec.reset();
    throw;
  }
  m_version = expected;
}

void CPrstDatabase::_prepareSchema(CSqlConnection& conn, const CSqlStatementSpec& spec,
                                   int expected) {
  runNamed(conn, spec, "TRANSACTION_BEGIN");
  try {
    if (spec.find("SCHEMA_LOCK")) runNamed(conn, spec, "SCHEMA_LOCK");
    if (runNamed(conn, spec, "SCHEMA_EXISTS", {}, true) == 0) {
      for (const auto& file : spec.schemaFiles()) _runScript(conn, file);
      runNamed(conn, spec, "SCHEMA_VERSION_INSERT", {CDBValue::ofInt(expected)});
      if (m_log)
        m_log->log(nuv::sev_info, nuv::CMessage("Created the %1 database schema version %2.")
                                      .pushs(databaseImplementation())
                                      .push(expected));
    } else {
      const auto found = runNamed(conn, spec, "SCHEMA_VERSION_SELECT", {}, true);
      if (found != expected)
        PRST_THROW(
            "CPrstDatabase::initialize",
            nuv::CMessage("Database schema version %1 does not match the expected version %2.")
                .push(found)
                .push(expected),
            nuv::CMessage("Schema version mismatch."));
    }
    runNamed(conn, spec, "TRANSACTION_COMMIT");
  } catch (...) {
    try {
      runNamed(conn, spec, "TRANSACTION_ROLLBACK");
    } catch (...) {  // the first failure is the one to report
    }
    throw;
  }
}

void CPrstDatabase::_runScript(CSqlConnection& conn, const std::string& path) {
  std::ifstream in(path);
  if (!in)
    PRST_THROW("CPrstDatabase::initialize",
               nuv::CMessage("Cannot open schema file '%1'.").pushs(path),
               nuv::CMessage("No such file."));
  std::string line, statement;
  int lineNo = 0, start = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string t = nuv::trim(line);
    if (t.empty() || t.rfind("--", 0) == 0) continue;
    if (statement.empty()) start = lineNo;
    statement += line + "\n";
    if (t.back() != ';') continue;
    try {
      conn.executeScript(statement);
    } catch (const nuv::CException& e) {
      PRST_THROW("CPrstDatabase::initialize",
                 nuv::CMessage("Cannot create the database schema from '%1' at line %2.")
                     .pushs(path)
                     .push(start),
                 nuv::CMessage(e.whyText()));
    }
    statement.clear();
  }
}

std::unique_ptr<CPrstDBSession> CPrstDatabase::openSession(
    const std::vector<const CIPrstAbstractFactory*>& factories) {
  if (!m_spec)
    PRST_THROW("CPrstDatabase::openSession", nuv::CMessage("Cannot open a database session."),
               nuv::CMessage("The database is not open."));
  CPrstUserClassFactory factory;
  CPrstGenericObjectAbstractFactory().registerPrototypes(factory);
  for (const auto* f : factories) f->registerPrototypes(factory);
  return std::make_unique<CPrstDBSession>(_connect(), m_spec, std::move(factory), m_log);
}

const CSqlStatementSpec& CPrstDatabase::statements() const {
  if (!m_spec)
    PRST_THROW("CPrstDatabase::statements", nuv::CMessage("Cannot read the sql statements."),
               nuv::CMessage("The database is not open."));
  return *m_spec;
}

int CPrstDatabase::openFor(CMasterController& controller, const std::string& pluginName,
                           const std::string& dataDir) {
  CLogSink& log = controller.log();
  try {
    const auto config = controller.config();
    int appVersion = CDHCPConfigNames().dbValueDefaultSchemaVersionNumber();
    if (auto* dhcp = dynamic_cast<CIDHCPController*>(&controller); dhcp && dhcp->configNames())
      appVersion = dhcp->configNames()->dbValueDefaultSchemaVersionNumber();
    _configure(*config, controller.varDir());
    initialize(
        CPrstDatabaseSettings::fromConfig(*config, dataDir, databaseImplementation(), appVersion),
        &log);
  } catch (const nuv::CException& e) {
    log.log(nuv::sev_error, nuv::CMessage("Plugin '%1' cannot open the database %2: %3 %4")
                                .pushs(pluginName)
                                .pushs(_where())
                                .pushs(e.whatText())
                                .pushs(e.whyText()));
    return -1;
  }
  log.log(nuv::sev_info, nuv::CMessage("Plugin '%1' opened the database %2 (schema version %3).")
                             .pushs(pluginName)
                             .pushs(_where())
                             .push(m_version));
  return 0;
}
