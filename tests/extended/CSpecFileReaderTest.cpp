#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "extended/CSpecFileReader.h"
#include "standard/CException.h"

namespace fs = std::filesystem;

namespace {
// Collects the records a reader hands on.
class CRecorder : public CSpecFileReader {
 public:
  std::vector<std::pair<unsigned, std::string>> records;

 protected:
  void _processRecord(const std::string& record, unsigned line) override {
    nuv::CStringMap map = parseRecord(record);
    if (map.has("fail")) throw nuv::CException("x", nuv::CMessage("Bad record."), "t", "t");
    records.emplace_back(line, map.get("name"));
  }
};

class CSpecFileReaderTest : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() / ("specreader-" + std::to_string(::getpid()));
  void SetUp() override { fs::create_directories(dir / "more"); }
  void TearDown() override { fs::remove_all(dir); }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name) << text;
  }
  std::string failure(const std::string& file) {
    CRecorder r;
    try {
      r.execute(dir.string(), file);
    } catch (const nuv::CException& e) {
      return e.whatText() + " | " + e.whyText();
    }
    return "no exception";
  }
};
}  // namespace

TEST_F(CSpecFileReaderTest, RecordsCommentsAndBlanks) {
  write("a.spec",
        "# leading comment\n"
        "spec_name = a\n"
        "\n"
        "  name = one  \r\n"
        "# a comment line does not end a record\n"
        "\tType = x\n"
        "\n\n"
        "NAME = two\n");
  CRecorder r;
  r.execute(dir.string(), "a.spec");
  ASSERT_EQ(r.records.size(), 2u);
  EXPECT_EQ(r.records[0], (std::pair<unsigned, std::string>{4, "one"}));
  EXPECT_EQ(r.records[1], (std::pair<unsigned, std::string>{9, "two"}));  // keys ignore case

  nuv::CStringMap m = CSpecFileReader::parseRecord("name = a = b\n type=\t8bit ");
  EXPECT_EQ(m.get("name"), "a = b");
  EXPECT_EQ(m.get("TYPE"), "8bit");
}

TEST_F(CSpecFileReaderTest, Failures) {
  write("noheader.spec", "name = x\n");
  EXPECT_EQ(failure("noheader.spec"),
            "File " + (dir / "noheader.spec").string() +
                " is not a valid spec file. | Missing header key 'spec_name'.");
  write("empty.spec", "# nothing\n");
  EXPECT_EQ(failure("empty.spec"),
            "File " + (dir / "empty.spec").string() +
                " is not a valid spec file. | Missing header key 'spec_name'.");
  EXPECT_EQ(failure("missing.spec"), "Cannot open spec file '" + (dir / "missing.spec").string() +
                                         "'. | The file does not exist or cannot be read.");
  write("bad.spec", "spec_name = b\n\nname = x\nno equals sign\n");
  EXPECT_EQ(failure("bad.spec"), "Error processing spec file " + (dir / "bad.spec").string() +
                                     " at line 3. | Invalid record format.");
  write("handler.spec", "spec_name = b\n\nfail = yes\n");
  EXPECT_EQ(failure("handler.spec"), "Error processing spec file " +
                                         (dir / "handler.spec").string() +
                                         " at line 3. | Bad record.");
}

TEST_F(CSpecFileReaderTest, IncludesFilesAndDirectories) {
  write("main.spec",
        "spec_name = main\n\nname = first\n\ninclude = part.inc, more\n\nname = last\n");
  write("part.inc", "spec_name = part\n\nname = part\n");
  write("more/b.inc", "spec_name = b\n\nname = b\n");
  write("more/a.inc", "spec_name = a\n\nname = a\n");
  write("more/skip.txt", "not a spec file\n");
  CRecorder r;
  r.execute(dir.string(), "main.spec");
  std::vector<std::string> names;
  for (const auto& rec : r.records) names.push_back(rec.second);
  EXPECT_EQ(names, (std::vector<std::string>{"first", "part", "a", "b", "last"}));

  write("noheader.inc", "name = x\n");
  write("bad.spec", "spec_name = x\ninclude = noheader.inc\n");
  EXPECT_EQ(failure("bad.spec"),
            "File " + (dir / "noheader.inc").string() +
                " is not a valid spec file. | Missing header key 'spec_name'.");
}

TEST_F(CSpecFileReaderTest, RecursiveIncludeIsRefused) {
  write("self.spec", "spec_name = self\n\ninclude = self.spec\n");
  EXPECT_EQ(failure("self.spec"), "Include directive for file " + (dir / "self.spec").string() +
                                      " in spec file " + (dir / "self.spec").string() +
                                      " is recursive. | Circular include.");
  write("x.spec", "spec_name = x\n\ninclude = y.inc\n");
  write("y.inc", "spec_name = y\n\ninclude = ./x.spec\n");
  EXPECT_NE(failure("x.spec").find("is recursive."), std::string::npos);
  // Including the same file twice side by side is fine.
  write("twice.spec", "spec_name = t\n\ninclude = y2.inc, y2.inc\n");
  write("y2.inc", "spec_name = y2\n\nname = y\n");
  EXPECT_EQ(failure("twice.spec"), "no exception");
}
