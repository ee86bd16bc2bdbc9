#include <gtest/gtest.h>

#include "oodb/CAccessRights.h"
#include "tests/fixtures/FailureOf.h"

using R = CAccessRights;

TEST(CAccessRightsTest, PrintsNamesInFixedOrder) {
  const std::pair<unsigned, const char*> cases[] = {
      {R::read | R::execute, "read,execute"},
      {R::none, "none"},
      {R::create | R::read, "read,create"},
      {R::all, "read,write,execute,create"},
      {R::write | 16u, "write"},  // foreign bits are dropped
      {16u, "none"},
  };
  for (const auto& [bits, text] : cases) EXPECT_EQ(R(bits).string(), text) << bits;
}

TEST(CAccessRightsTest, HasNoneOnlyWhenEmpty) {
  EXPECT_TRUE(R().has(R::none));
  EXPECT_FALSE(R(R::read).has(R::none));
  EXPECT_TRUE(R(R::read | R::write).has(R::write));
  EXPECT_TRUE(R(R::read | R::write).has(R::read | R::write));
  EXPECT_FALSE(R(R::read).has(R::read | R::write));
  EXPECT_FALSE(R(R::read).has(R::create));
}

TEST(CAccessRightsTest, ParsesNamesAndRejectsOthers) {
  const std::pair<const char*, unsigned> good[] = {
      {"read,execute", 5}, {" write , Read ", 3}, {"none", 0}, {"all", 15}, {"none,create", 8}};
  for (const auto& [text, bits] : good) EXPECT_EQ(R::parse(text).bits(), bits) << text;

  const std::pair<const char*, const char*> bad[] = {
      {"read,delete", "Unknown right 'delete'."},
      {"read,,write", "Unknown right ''."},
      {"", "Unknown right ''."},
      {"read;write", "Unknown right 'read;write'."},
  };
  for (const auto& [text, why] : bad)
    EXPECT_EQ(failureOf([&] { R::parse(text); }),
              (Failure{"security", "CAccessRights::parse",
                       std::string("Cannot parse access rights '") + text + "'.", why}));
}
