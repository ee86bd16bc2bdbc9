#include <gtest/gtest.h>

#include <sstream>

#include "standard/CException.h"
#include "standard/CMessageStore.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CException;
using nuv::CMessage;
using nuv::CMessageStore;

namespace {
CMessageStore loaded(const std::string& text, std::vector<std::string> locales = {"de_DE"}) {
  CMessageStore store;
  store.setLocales(locales);
  std::istringstream in(text);
  store.load(in);
  return store;
}
}  // namespace

TEST(CMessageStoreTest, TranslatesKnownTemplatesOnly) {
  const auto store = loaded(
      "# translations\n"
      "id: 7\n"
      "description: shown when a key is unknown\n"
      "en_US: Unrecognized key.\n"
      "de_DE: Unbekannter\n"
      "  Schlüssel.\n"
      "fr_FR: Clé inconnue.\n"
      "\n\n"
      "en_US: Name %1 is bad.\n"
      "de_DE: Name %1 ist schlecht.\n");
  EXPECT_EQ(store.size(), 2u);
  EXPECT_EQ(store.tr(CMessage("Unrecognized key."), "de_DE").formatted(), "Unbekannter Schlüssel.");
  // fr_FR was not selected, so it is not kept.
  EXPECT_EQ(store.tr(CMessage("Unrecognized key."), "fr_FR").formatted(), "Unrecognized key.");
  EXPECT_EQ(store.tr(CMessage("Name %1 is bad.").pushs("x"), "de_DE").formatted(),
            "Name x ist schlecht.");
  EXPECT_EQ(store.tr(CMessage("Not in the file."), "de_DE").formatted(), "Not in the file.");
}

TEST(CMessageStoreTest, RejectsBadRecords) {
  const std::pair<const char*, const char*> cases[] = {
      {"id: 1\nde_DE: x\n", "Missing key 'en_US'."},
      {"en_US: a\nthis line has no separator\n", "Malformed field."},
      {"en_US: a\nen_US: b\n", "Malformed field."},
  };
  for (const auto& [text, why] : cases) {
    const Failure f = failureOf([&] { loaded(text); });
    EXPECT_EQ(f.why, why) << text;
    EXPECT_EQ(f.context, "CMessageStore::_processRecord");
    EXPECT_EQ(f.what.rfind("Invalid record at line ", 0), 0u);
  }
  EXPECT_EQ(failureOf([] { loaded("en_US: a\n\n\nbroken\n"); }).what,
            "Invalid record at line 4 in message locale file.");
}
