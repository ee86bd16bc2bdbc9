#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

#include "standard/CException.h"
#include "standard/CMessageStore.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CException;
using nuv::CMessage;

TEST(CExceptionTest, SeverityStringPicksMostImportant) {
  const std::pair<unsigned, const char*> cases[] = {
      {4 | 8, "error"},  {8 | 32, "debug"}, {2 | 1, "warning"}, {1 | 16, "info"},
      {16 | 8, "audit"}, {32, "verbose"},   {63, "error"},      {0, ""},
  };
  for (const auto& [mask, name] : cases) EXPECT_EQ(CException::severityString(mask), name) << mask;
}

TEST(CExceptionTest, SeverityMaskParsesTrimmedNames) {
  EXPECT_EQ(CException::severityMask("error, warning ,info"), 7u);
  EXPECT_EQ(CException::severityMask("debug"), 8u);
  EXPECT_EQ(CException::severityMask("all"), 63u);
  EXPECT_EQ(CException::severityMask(" verbose,audit "), 48u);
}

TEST(CExceptionTest, SeverityMaskRejectsUnknownNameNamingWholeText) {
  EXPECT_EQ(failureOf([] { CException::severityMask("warning, loud"); }),
            (Failure{"standard", "CException::severityMask",
                     "Cannot parse severity mask 'warning, loud'.", "Invalid value."}));
}

TEST(CExceptionTest, PrintableErrorAppendsWhyAndTranslates) {
  CException plain(CMessage("Cannot open '%1'.").pushs("x"), CMessage(), "standard", "C::op");
  EXPECT_EQ(plain.printableError(), "Cannot open 'x'.");

  CException withWhy(CMessage("Cannot open '%1'.").pushs("x"), CMessage("No such file."),
                     "standard", "C::op");
  EXPECT_EQ(withWhy.printableError(), "Cannot open 'x'. (No such file.)");
  EXPECT_STREQ(withWhy.what(), "Cannot open 'x'.");
  EXPECT_EQ(withWhy.srcClass, "C");

  CException sys(CMessage("Cannot bind."), CMessage(), "standard", "C::op", __FILE__, __LINE__,
                 nuv::sev_error, ENOENT);
  EXPECT_EQ(sys.printableError(), "Cannot bind. (No such file or directory)");

  nuv::CMessageStore store;
  store.setLocales({"de_DE"});
  std::istringstream file(
      "en_US: Cannot open '%1'.\nde_DE: Kann '%1' nicht öffnen.\n\n"
      "en_US: No such file.\nde_DE: Keine solche Datei.\n");
  store.load(file);
  EXPECT_EQ(withWhy.printableError(&store, "de_DE"),
            "Kann 'x' nicht öffnen. (Keine solche Datei.)");
  EXPECT_EQ(withWhy.printableError(&store, "fr_FR"), "Cannot open 'x'. (No such file.)");
  // A system error text is never looked up in the store.
  EXPECT_EQ(sys.printableError(&store, "de_DE"), "Cannot bind. (No such file or directory)");
}

TEST(CExceptionTest, WhereListsLocation) {
  CException e(CMessage("w"), CMessage(), "extended", "CConfigNames::validate", "file.cpp", 12);
  EXPECT_EQ(e.where().rfind("module extended, context CConfigNames::validate, class CConfigNames, "
                            "file file.cpp, line 12",
                            0),
            0u);
}
