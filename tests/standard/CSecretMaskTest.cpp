#include <gtest/gtest.h>

#include "standard/CSecretMask.h"

TEST(CSecretMaskTest, ValuesOfSecretsAreMaskedWhereverTheyStand) {
  struct Case {
    const char* text;
    const char* masked;
  } cases[] = {
      {"system.db.password = hunter2", "system.db.password = ****"},
      {"ddns.tsig.secret=c2VjcmV0Cg==", "ddns.tsig.secret=****"},
      {"dbname='x' user='u' password='a b' host=db", "dbname='x' user='u' password='****' host=db"},
      {"key 'ddns.key.Secret': \"s3cr3t\", next", "key 'ddns.key.Secret': \"****\", next"},
      {"rconsole.PASSWORD = p1; system.db.password=p2",
       "rconsole.PASSWORD = ****; system.db.password=****"},
      // Names only, and words that merely hold the word, stay as they are.
      {"Cannot validate configuration key 'system.db.password'. (Unrecognized key.)",
       "Cannot validate configuration key 'system.db.password'. (Unrecognized key.)"},
      {"secretary = Ann", "secretary = Ann"},
      {"password=", "password="},
      {"no secrets here", "no secrets here"},
  };
  for (const Case& c : cases) EXPECT_EQ(nuv::CSecretMask::mask(c.text), c.masked) << c.text;
}

TEST(CSecretMaskTest, SecretKeysAreThoseEndingInSecretOrPassword) {
  for (const char* key : {"system.db.password", "ddns.tsig.secret", "RCONSOLE.PASSWORD", "secret"})
    EXPECT_TRUE(nuv::CSecretMask::isSecretKey(key)) << key;
  for (const char* key : {"system.db.user", "secret.file", "passwords.count", ""})
    EXPECT_FALSE(nuv::CSecretMask::isSecretKey(key)) << key;
}
