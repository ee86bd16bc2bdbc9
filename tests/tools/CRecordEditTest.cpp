#include <gtest/gtest.h>

#include "tools/CRecordEdit.h"

// Values keep their inner "=" and blanks; options gather into one set of
// lines, removals into a list; a file's "-option" is a removal too.
TEST(CRecordEditTest, ArgumentsAndFilesGiveTheSameKinds) {
  const CRecordEdit a =
      CRecordEdit::fromArguments({"Name=lab", "description= two words ", "option=dns-servers = ::1",
                                  "option=domain-search = a.example, b.example",
                                  "-option=sntp-servers", "-option=domain-list"});
  EXPECT_EQ(a.keys.get("name"), "lab");
  EXPECT_EQ(a.keys.get("description"), "two words");
  EXPECT_EQ(a.keys.get("option"), "dns-servers = ::1\ndomain-search = a.example, b.example\n");
  EXPECT_EQ(a.removedOptions, (std::vector<std::string>{"sntp-servers", "domain-list"}));

  const CRecordEdit f =
      CRecordEdit::fromText("name = lab\noption = dns-servers = ::1\n-option = domain-list\n");
  EXPECT_EQ(f.keys.get("name"), "lab");
  EXPECT_EQ(f.keys.get("options"), "dns-servers = ::1\n");
  EXPECT_FALSE(f.keys.has("-option"));
  EXPECT_EQ(f.removedOptions, std::vector<std::string>{"domain-list"});
  EXPECT_TRUE(CRecordEdit::fromArguments({}).empty());
}
