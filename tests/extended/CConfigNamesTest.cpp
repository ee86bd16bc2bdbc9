#include <gtest/gtest.h>

#include "extended/CConfigNames.h"
#include "extended/CDHCPConfigNames.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CConfigNames;
using nuv::CStringMap;

TEST(CConfigNamesTest, AccessorsWithoutARegistrationAreNotValidKeys) {
  const CConfigNames names;
  EXPECT_TRUE(names.nameExists(CConfigNames::logLevels()));
  EXPECT_FALSE(names.nameExists(CConfigNames::defaultPrivateKeyFile()));
  EXPECT_FALSE(names.nameExists(CConfigNames::dbLocksExclusive()));
}

TEST(CConfigNamesTest, EveryDescriptionStartsWithATypeWord) {
  const char* const types[] = {"boolean",    "bool",          "int",       "long",
                               "string",     "byte sequence", "time span", "name or address",
                               "expression", "size_t",        "time_t"};
  for (const auto& [name, description] : CConfigNames().all()) {
    bool typed = false;
    for (const char* type : types)
      typed = typed || description.rfind(std::string(type) + " - ", 0) == 0;
    EXPECT_TRUE(typed) << name << ": " << description;
  }
}

TEST(CConfigNamesTest, ValidateNamesTheFirstUnknownKeyInMapOrder) {
  const CConfigNames names;
  struct Case {
    std::vector<const char*> keys;
    const char* unknown;  // null: passes
  };
  const Case cases[] = {
      {{}, nullptr},
      {{"system.log.levels", "SYSTEM.PLUGINS", "ipv6.enable"}, nullptr},
      {{"system.log.levels", "system.log.levelz"}, "system.log.levelz"},
      // Map order, not insertion order; later keys are not looked at.
      {{"zz.unknown", "system.plugins", "aa.unknown"}, "aa.unknown"},
      {{"private_key.bin"}, "private_key.bin"},
  };
  for (const Case& c : cases) {
    CStringMap config(false);
    for (const char* key : c.keys) config.set(key, "1");
    if (!c.unknown) {
      EXPECT_NO_THROW(names.validate(config));
      continue;
    }
    EXPECT_EQ(failureOf([&] { names.validate(config); }),
              (Failure{"extended", "CConfigNames::validate",
                       std::string("Cannot validate configuration key '") + c.unknown + "'.",
                       "Unrecognized key."}));
  }
}

TEST(CConfigNamesTest, ValuesMustReadAsTheirKeysType) {
  const CDHCPConfigNames names(6);
  const std::string threads = CDHCPConfigNames::engineThreadCount(6);
  const struct {
    std::string key, value;
    const char* why;  // null: passes
  } cases[] = {
      {threads, "4", nullptr},
      {threads, "0x10", nullptr},
      {threads, "-1", "Value '-1' is negative."},
      {threads, "4294967296", "Value '4294967296' is not an integer."},
      {threads, "text", "Value 'text' is not an integer."},
      {CConfigNames::ipv6Enable(), "yes", nullptr},
      {CConfigNames::ipv6Enable(), "maybe", "Value 'maybe' is not a boolean."},
      // Text keys take any text.
      {CConfigNames::logLevels(), "-1", nullptr},
  };
  for (const auto& c : cases) {
    CStringMap config(false);
    config.set(c.key, c.value);
    if (!c.why) {
      EXPECT_NO_THROW(names.validate(config)) << c.key << " " << c.value;
      continue;
    }
    EXPECT_EQ(failureOf([&] { names.validate(config); }).why, c.why) << c.key << " " << c.value;
  }
}

TEST(CConfigNamesTest, SecondRegistrationOfANameKeepsTheFirst) {
  struct Names : CConfigNames {
    Names() {
      _addConfigName("x.key", "int - first");
      _addConfigName("X.KEY", "int - second");
    }
  } names;
  EXPECT_EQ(names.description("x.key"), "int - first");
  EXPECT_EQ(names.all().size(), CConfigNames().all().size() + 1);
}

TEST(CConfigNamesTest, BaseHasNoDefaultSchemaNumber) {
  const CConfigNames names;
  EXPECT_EQ(failureOf([&] { names.dbValueDefaultSchemaVersionNumber(); }),
            (Failure{"extended", "CConfigNames::dbValueDefaultSchemaVersionNumber",
                     "Cannot provide a default database schema number.",
                     "This product does not have a database."}));
}
