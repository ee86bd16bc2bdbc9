#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "oodb_persistence/CPrstStatementTemplate.h"
#include "oodb_persistence/CSqlStatementSpec.h"
#include "tests/fixtures/FailureOf.h"

namespace {

const char* kHeader = "spec_name = t\n\n";
const char* kGood =
    "name = a.b\ngroup = g\narg_names = X, Y\narg_types = [__DB_TYPE_STRING__], "
    "[__DB_TYPE_UINT32__]\n"
    "statement = SELECT * FROM t WHERE X = ? AND Y = ? AND Z = '?'\n";

struct TempFile {
  explicit TempFile(const std::string& text, const std::string& name = "spec") {
    path = std::string("/tmp/nuv_spec_") + std::to_string(::getpid()) + "_" + name;
    std::ofstream(path) << text;
  }
  ~TempFile() { std::remove(path.c_str()); }
  std::string path;
};

Failure loadFailure(const std::string& text) {
  TempFile f(text);
  CSqlStatementSpec spec;
  return failureOf([&] { spec.load(f.path); });
}

}  // namespace

TEST(CSqlStatementSpecTest, ReadsRecordsWithTheirLines) {
  TempFile f(std::string("# comment\n") + kHeader + kGood + "precompile = true\ncursor_num = 3\n");
  CSqlStatementSpec spec;
  spec.load(f.path);
  const auto& r = spec.get("a.b");
  EXPECT_EQ(r.group, "g");
  EXPECT_EQ(r.argNames, (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(r.argTypes, (std::vector<CDBType>{CDBType::string, CDBType::uint32}));
  EXPECT_TRUE(r.precompile);
  EXPECT_EQ(r.cursorNum, 3);
  EXPECT_EQ(r.line, 4);
  EXPECT_EQ(r.file, f.path);
  EXPECT_FALSE(r.isDomainFiltered());
}

TEST(CSqlStatementSpecTest, BadRecordsAreRejectedWithTheirLine) {
  const std::string record = std::string(kHeader) + "\n";  // the record starts at line 4
  struct Case {
    std::string text;
    std::string what, why;
  } cases[] = {
      {"group = g\narg_names =\narg_types =\nstatement = S\n",
       "Invalid record at line 4 in sql statement spec file.", "Missing key 'name'."},
      {"name = n\narg_names =\narg_types =\nstatement = S\n",
       "Invalid record at line 4 in sql statement spec file.", "Missing key 'group'."},
      {"name = n\ngroup = g\narg_types =\nstatement = S\n",
       "Invalid record at line 4 in sql statement spec file.", "Missing key 'arg_names'."},
      {"name = n\ngroup = g\narg_names =\nstatement = S\n",
       "Invalid record at line 4 in sql statement spec file.", "Missing key 'arg_types'."},
      {"name = n\ngroup = g\narg_names =\narg_types =\n",
       "Invalid record at line 4 in sql statement spec file.", "Missing key 'statement'."},
      {"name = n\ngroup = g\narg_names =\narg_types =\nstatement = S\ncolour = red\n",
       "Invalid record at line 4 in sql statement spec file.", "Unrecognized key 'colour'."},
      {"name = n\ngroup = g\narg_names = A\narg_types = [__DB_TYPE_NOPE__]\nstatement = S ?\n",
       "Invalid record at line 4 in sql statement spec file.",
       "Unrecognized type '[__DB_TYPE_NOPE__]'."},
      {"name = n\ngroup = g\narg_names = A, B\narg_types = [__DB_TYPE_LONG__], "
       "[__DB_TYPE_LONG__]\nstatement = S ?\n",
       "Invalid record at line 4 in sql statement spec file.", "1 placeholders for 2 arguments."},
      {"name = n\ngroup = g\nno equals sign\n",
       "Invalid record at line 6 in sql statement spec file.", "Invalid record format."},
  };
  for (const auto& c : cases) {
    const Failure f = loadFailure(record + c.text);
    EXPECT_EQ(f.what, c.what) << c.text;
    EXPECT_EQ(f.why, c.why) << c.text;
    EXPECT_EQ(f.module, "oodb_persistence");
  }
}

TEST(CSqlStatementSpecTest, DuplicateCursorsAndNames) {
  const std::string a =
      "name = a\ngroup = g\narg_names =\narg_types =\nstatement = S\ncursor_num = 1\n\n";
  const std::string b =
      "name = b\ngroup = g\narg_names =\narg_types =\nstatement = S\ncursor_num = 1\n";
  Failure f = loadFailure(kHeader + a + b);
  EXPECT_EQ(f.what, "Duplicate sql cursor number at line 10 in sql statement spec file.");
  EXPECT_EQ(f.why, "Cursor numbers overlap.");
  f = loadFailure(kHeader + a + "name = a\ngroup = g\narg_names =\narg_types =\nstatement = T\n");
  EXPECT_EQ(f.what, "Attempt to insert statement 'a' twice.");
}

TEST(CSqlStatementSpecTest, FilesHeadersAndIncludes) {
  EXPECT_EQ(failureOf([] { CSqlStatementSpec().load("/nonexistent/sql_statements.spec"); }),
            (Failure{"oodb_persistence", "CSqlStatementSpec::load",
                     "Cannot locate sql spec file '/nonexistent/sql_statements.spec'.",
                     "No such file."}));
  const Failure noHeader = loadFailure(kGood);
  EXPECT_EQ(noHeader.why, "Missing header key 'spec_name'.");

  TempFile inner(std::string("spec_name = inner\nschema = inner.sql\n\n") + kGood, "inner.inc");
  TempFile outer(
      "spec_name = outer\nschema = outer.sql\n\ninclude = " + inner.path.substr(5) + "\n", "outer");
  CSqlStatementSpec spec;
  spec.load(outer.path);
  EXPECT_NE(spec.find("a.b"), nullptr);
  // Included schemas run first.
  EXPECT_EQ(spec.schemaFiles(), (std::vector<std::string>{"/tmp/inner.sql", "/tmp/outer.sql"}));

  TempFile self("spec_name = self\n\ninclude = " + std::string("nuv_spec_") +
                    std::to_string(::getpid()) + "_self\n",
                "self");
  EXPECT_EQ(failureOf([&] { CSqlStatementSpec().load(self.path); }).why, "Recursive include.");
}

TEST(CSqlStatementSpecTest, TableGroupsMustNameEveryGroup) {
  TempFile statements(std::string(kHeader) + kGood);
  TempFile groups("spec_name = groups\n\ngroup = other\ntables = t\n", "groups");
  CSqlStatementSpec spec;
  spec.load(statements.path);
  const Failure f = failureOf([&] { spec.loadTableGroups(groups.path); });
  EXPECT_EQ(f.what, "Invalid record at line 3 in sql statement spec file.");
  EXPECT_EQ(f.why, "Unknown group 'g'.");
}

TEST(CSqlStatementSpecTest, FamilyNamesAndTemplates) {
  EXPECT_EQ(CSqlStatementSpec::familyName("binding", ".dom_bid", 6), "binding6.dom_bid");
  EXPECT_EQ(CSqlStatementSpec::familyName("apool", ".dom_relay", 4), "apool4.dom_relay");
  EXPECT_EQ(failureOf([] { CSqlStatementSpec::familyName("binding", ".dom_bid", 0); }),
            (Failure{"oodb_persistence", "CSqlStatementSpec::familyName",
                     "Cannot resolve sql statement name.", "Unknown protocol family."}));

  const std::vector<CPrstColumn> cols{{"A", ""}, {"B", ""}};
  EXPECT_EQ(CPrstStatementTemplate::expand("U", "UPDATE <<TABLE>> SET <<FIELDS>> WHERE PK = ?",
                                           "t6", cols, {"TABLE", "FIELDS"}),
            "UPDATE t6 SET A = ?, B = ? WHERE PK = ?");
  EXPECT_EQ(
      CPrstStatementTemplate::expand(
          "I", "INSERT INTO <<TABLE>> (<<FIELD_NAMES>>) VALUES (<<FIELD_VALUES>>)", "t6", cols),
      "INSERT INTO t6 (A, B) VALUES (?, ?)");
  EXPECT_EQ(CPrstStatementTemplate::expand("G", "SET_GENERATOR('<<UPPER_TABLE>>')", "t6", cols),
            "SET_GENERATOR('T6')");
  EXPECT_EQ(failureOf([&] {
              CPrstStatementTemplate::expand("D", "DELETE FROM t WHERE PK = ?", "t6", cols,
                                             {"TABLE"});
            }),
            (Failure{"oodb_persistence", "CPrstStatementTemplate::expand",
                     "Unable to find placeholder '<<TABLE>>' in sql statement template 'D'.",
                     "Placeholder/SQL statement mismatch."}));
}
