#pragma once
// Where a provider finds its data files and which schema version it wants.
// From the configuration: "system.db.statements.file" (default
// <data dir>/<dialect>/sql_statements.spec), "system.db.table_groups.file"
// (default: sql_table_groups.spec beside the statement file, when present)
// and "system.db.schema.version" (overrides the application's version).

#include <optional>
#include <string>

#include "standard/CConfig.h"

struct CPrstDatabaseSettings {
  std::string statementFile;
  std::string tableGroupsFile;
  int appSchemaVersion = 31;
  std::optional<int> configuredSchemaVersion;

  // dataDir: the folder holding one folder of data files per dialect.
  static CPrstDatabaseSettings fromConfig(const nuv::CConfig& config, const std::string& dataDir,
                                          const std::string& dialect, int appSchemaVersion);
  // The version the database must have.
  int expectedSchemaVersion() const { return configuredSchemaVersion.value_or(appSchemaVersion); }
};
