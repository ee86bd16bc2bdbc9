#include "oodb_persistence/CPrstDatabaseSettings.h"

#include <unistd.h>

#include "extended/CConfigNames.h"

CPrstDatabaseSettings CPrstDatabaseSettings::fromConfig(const nuv::CConfig& config,
                                                        const std::string& dataDir,
                                                        const std::string& dialect,
                                                        int appSchemaVersion) {
  using Names = nuv::CConfigNames;
  CPrstDatabaseSettings s;
  s.appSchemaVersion = appSchemaVersion;
  s.statementFile =
      config.get(Names::dbStatementsFile(), dataDir + "/" + dialect + "/sql_statements.spec");
  const auto slash = s.statementFile.rfind('/');
  const std::string dir =
      slash == std::string::npos ? std::string(".") : s.statementFile.substr(0, slash);
  s.tableGroupsFile = config.get(Names::dbTableGroupsFile());
  if (s.tableGroupsFile.empty() && access((dir + "/sql_table_groups.spec").c_str(), R_OK) == 0)
    s.tableGroupsFile = dir + "/sql_table_groups.spec";
  if (config.has(Names::dbSchemaVersion()))
    s.configuredSchemaVersion = config.get_int32(Names::dbSchemaVersion());
  return s;
}
