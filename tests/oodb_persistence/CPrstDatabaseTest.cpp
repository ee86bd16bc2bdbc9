#include <gtest/gtest.h>

#include <fstream>

#include "oodb_persistence/CPrstDatabase.h"
#include "oodb_persistence/CPrstStatementTemplate.h"
#include "tests/fixtures/CPrstBackendTest.h"
#include "tests/fixtures/FailureOf.h"

// Opening a provider: schema creation, version check and the failures that
// stop the start, each naming the file, line or version.
class CPrstDatabaseTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    NUV_REQUIRE_TEST_PG(GetParam());
    database = std::make_unique<CPrstTestDatabase>(GetParam());
  }
  bool logged(const std::string& text) { return database->controller.logSink.contains(text); }
  // A statement file that includes the provider's and adds one record.
  std::string statementFile(const std::string& record) {
    const std::string path = database->dir + "/extra.spec";
    std::ofstream(path) << "spec_name = extra\n\ninclude = " << NUV_SOURCE_DIR << "/data/"
                        << GetParam() << "/sql_statements.spec\n\n"
                        << record;
    database->config().set("system.db.statements.file", path);
    return path;
  }

  std::unique_ptr<CPrstTestDatabase> database;
};

TEST_P(CPrstDatabaseTest, CreatesTheSchemaOnceAndChecksItsVersion) {
  ASSERT_EQ(database->open(), 0);
  EXPECT_EQ(database->db().schemaVersion(), 31);
  EXPECT_TRUE(logged("Created the " + GetParam() + " database schema version 31."));
  EXPECT_EQ(database->db().databaseImplementation(), GetParam());
  database->close();
  database->controller.logSink.lines.clear();

  ASSERT_EQ(database->open(), 0);  // an existing database of the right version
  EXPECT_FALSE(logged("Created"));
  database->close();

  database->config().set("system.db.schema.version", "32");
  EXPECT_EQ(database->open(), -1);
  EXPECT_TRUE(
      logged("warning: Configured schema version 32 is overriding application schema version 31."));
  EXPECT_TRUE(
      logged("Database schema version 31 does not match the expected version 32. Schema version "
             "mismatch."));
}

TEST_P(CPrstDatabaseTest, ConfiguredVersionIsTheVersionOfANewDatabase) {
  database->config().set("system.db.schema.version", "29");
  ASSERT_EQ(database->open(), 0);
  EXPECT_EQ(database->db().schemaVersion(), 29);
}

TEST_P(CPrstDatabaseTest, ABadStatementRecordStopsTheOpen) {
  const std::string path = statementFile("name = broken\ngroup = g\narg_names =\narg_types =\n");
  EXPECT_EQ(database->open(), -1);
  EXPECT_TRUE(
      logged("Cannot load sql statement spec file '" + path +
             "'. Invalid record at line 5 in sql statement spec file. Missing key 'statement'."));
}

TEST_P(CPrstDatabaseTest, AStatementThatDoesNotCompileStopsTheOpen) {
  const std::string path = statementFile(
      "name = bad.table\ngroup = g\narg_names =\narg_types =\nstatement = SELECT * FROM "
      "no_such_table\n"
      "precompile = true\n");
  EXPECT_EQ(database->open(), -1);
  EXPECT_TRUE(logged("Unable to precompile statement 'bad.table'."));
  EXPECT_TRUE(logged("(file '" + path + "', line 5)"));
}

TEST_P(CPrstDatabaseTest, ADatabaseThatCannotBeOpenedStopsTheOpen) {
  if (GetParam() == "sqlite") {
    std::ofstream(database->dir + "/garbage.db")
        << "this is not a database file, not at all, really not";
    database->config().set("system.db.name", "garbage.db");
  } else {
    database->config().set("system.db.hostname", "127.0.0.1:1");
  }
  EXPECT_EQ(database->open(), -1);
  EXPECT_TRUE(logged("Cannot open database"));
}

TEST_P(CPrstDatabaseTest, ServerFindsTheProviderByInterface) {
  ASSERT_EQ(database->open(), 0);
  // The host's plug-in search is not available here: the lookup's failure.
  CPrstTestController empty;
  EXPECT_EQ(failureOf([&] { CIDatabaseInit::find(empty, "sqlite"); }).what,
            "Unable to find a factory using database implementation 'sqlite'.");
}

// SQLite flushes every commit to disk (synchronous FULL) only when soft
// commits are turned off; otherwise at checkpoints (NORMAL).
TEST_P(CPrstDatabaseTest, SoftCommitsChooseHowOftenSQLiteFlushes) {
  if (GetParam() != "sqlite") GTEST_SKIP() << "PostgreSQL flushes as its server is set";
  const std::pair<const char*, std::int64_t> cases[] = {{nullptr, 1}, {"0", 2}, {"5", 1}};
  for (const auto& [ratio, synchronous] : cases) {
    if (ratio) database->config().set("system.db.soft_vs_hard_commit_ratio", ratio);
    ASSERT_EQ(database->open(), 0);
    {  // the plug-in's objects go before the plug-in
      auto conn = database->db().openConnection();
      auto pragma = conn->prepare("pragma", "PRAGMA synchronous");
      pragma->execute({});
      ASSERT_TRUE(pragma->next());
      EXPECT_EQ(pragma->column(0).asInt64(), synchronous) << (ratio ? ratio : "unset");
    }
    database->close();
  }
}

INSTANTIATE_TEST_SUITE_P(SQLite, CPrstDatabaseTest, ::testing::Values(std::string("sqlite")));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, CPrstDatabaseTest, ::testing::Values(std::string("pgsql")));

// The provider's own statement file: every statement marked "precompile"
// compiles at the start, the per-table ones on every table of their group.
class CPrstProviderStatementsTest : public CPrstDatabaseTest {};

TEST_P(CPrstProviderStatementsTest, CompileAtStartAndLookUpPacketRecordsByIndex) {
  database->config().erase("system.db.statements.file");
  ASSERT_EQ(database->open(), 0) << database->controller.logSink.lines.back();
  const auto& spec = database->db().statements();
  EXPECT_EQ(spec.tableGroups().at("binding6"),
            (std::vector<std::string>{"dhcp_abindings6", "dhcp_nbindings6"}));
  if (GetParam() != "sqlite") return;  // plans of an empty PostgreSQL table say nothing
  auto conn = database->db().openConnection();
  const std::pair<const char*, const char*> lookups[] = {
      {"binding6.dom_bid_relay", "dhcp_abindings6"}, {"binding6.dom_bid_addr", "dhcp_nbindings6"},
      {"pending6.bid_relay", "dhcp_apendings6"},     {"apool6.dom_relay", "dhcp_apools6"},
      {"npool6.dom_relay", "dhcp_npools6"},          {"policy.name", "dhcp_policies6"}};
  for (const auto& [name, table] : lookups) {
    const auto& rec = spec.get(name);
    auto plan = conn->prepare("plan", "EXPLAIN QUERY PLAN " + CPrstStatementTemplate::expand(
                                                                  name, rec.statement, table, {}));
    plan->execute(std::vector<CDBValue>(rec.argNames.size()));
    while (plan->next()) {
      const std::string detail = plan->column(plan->columnCount() - 1).asText();
      EXPECT_TRUE(detail.rfind("SCAN", 0) != 0 || detail.find("json_each") != std::string::npos)
          << name << ": " << detail;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(SQLite, CPrstProviderStatementsTest,
                         ::testing::Values(std::string("sqlite")));
INSTANTIATE_TEST_SUITE_P(PostgreSQL, CPrstProviderStatementsTest,
                         ::testing::Values(std::string("pgsql")));
