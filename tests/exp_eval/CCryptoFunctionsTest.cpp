#include <gtest/gtest.h>

#include "exp_eval/CCryptoFunctions.h"
#include "tests/exp_eval/ExpTestSupport.h"

TEST_F(ExpTest, DigestsAndBase64) {
  const struct {
    const char* text;
    const char* value;
  } cases[] = {
      {"[$MD5(\"abc\")]", "90-01-50-98-3C-D2-4F-B0-D6-96-3F-7D-28-E1-7F-72"},
      {"[$MD5(\"\")]", "D4-1D-8C-D9-8F-00-B2-04-E9-80-09-98-EC-F8-42-7E"},
      {"[$SHA1(\"abc\")]", "A9-99-3E-36-47-06-81-6A-BA-3E-25-71-78-50-C2-6C-9C-D0-D8-9D"},
      {"[$MD5($BYTES(\"61-62-63\"))]", "90-01-50-98-3C-D2-4F-B0-D6-96-3F-7D-28-E1-7F-72"},
      {"[$BASE64.ENCODE(\"hello\")]", "aGVsbG8="},
      {"[$BASE64.ENCODE($BYTES(\"00-FF\"))]", "AP8="},
      {"[$BASE64.DECODE(\"aGVsbG8=\")]", "68-65-6C-6C-6F"},
      {"[$TEXT($BASE64.DECODE($BASE64.ENCODE(\"round trip\")))]", "round trip"},
      {"[$BASE64.DECODE(\"\")]", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(str(c.text), c.value) << c.text;
  EXPECT_EQ(failure("[$BASE64.DECODE(\"a!b\")]").why, "Value 'a!b' is not Base64 text.");
  EXPECT_EQ(failure("[$BASE64.DECODE(\"aGVsbG8\")]").why, "Value 'aGVsbG8' is not Base64 text.");
  EXPECT_EQ(failure("[$SHA1()]").why, "Not enough arguments.");
}

TEST_F(ExpTest, BlowfishUsesTheSharedServerKey) {
  // Schneier's reference vector: key "abcdefghijklmnopqrstuvwxyz", "BLOWFISH".
  EXPECT_EQ(str("[$ENCRYPT(\"BLOWFISH\")]"), "32-4E-D0-FE-F4-13-A2-03");
  EXPECT_EQ(str("[$TEXT($DECRYPT($BYTES(\"32-4E-D0-FE-F4-13-A2-03\")))]"), "BLOWFISH");
  // Short data is padded with zeros to a block.
  EXPECT_EQ(str("[$DECRYPT($ENCRYPT($BYTES(\"01-02-03\")))]"), "01-02-03-00-00-00-00-00");
  EXPECT_EQ(str("[$LEN($ENCRYPT(\"123456789\"))]"), "16");
  EXPECT_EQ(str("[$LEN($ENCRYPT(\"\"))]"), "0");
  for (const char* text : {"", "a", "exactly8", "a text of more than one block, with blanks"}) {
    const std::string quoted = std::string("\"") + text + "\"";
    EXPECT_EQ(str("[$SDECRYPT($SENCRYPT(" + quoted + "))]"), text);
  }
  EXPECT_EQ(str("[$SENCRYPT(\"BLOWFISH\")]"), "32-4E-D0-FE-F4-13-A2-03");

  // A new key takes effect at once.
  host.mutableConfig().set("system.shared_key", "Who is John Galt?");
  EXPECT_EQ(str("[$ENCRYPT($BYTES(\"FE-DC-BA-98-76-54-32-10\"))]"), "CC-91-73-2B-80-22-F6-84");
}

TEST_F(ExpTest, BlowfishFailures) {
  EXPECT_EQ(failure("[$DECRYPT($BYTES(\"00-01-02-03-04-05-06-07-08\"))]"),
            (Failure{"exp_eval", "CFunctionCall::run", "Failed to execute function $DECRYPT().",
                     "Argument '00-01-02-03-04-05-06-07-08' must be exactly eight (8) bytes "
                     "long."}));
  EXPECT_EQ(failure("[$SDECRYPT($BYTES(\"00-01\"))]").why,
            "Argument '00-01' must be a multiple of eight (8) bytes long.");

  host.mutableConfig().erase("system.shared_key");
  EXPECT_EQ(failure("[$ENCRYPT(\"x\")]"),
            (Failure{"exp_eval", "CFunctionCall::run", "Failed to execute function $ENCRYPT().",
                     "Cannot initialise the Blowfish cipher. (The configuration key "
                     "'system.shared_key' has no value.)"}));
  host.mutableConfig().set("system.shared_key", std::string(57, 'k'));
  EXPECT_EQ(failure("[$SENCRYPT(\"x\")]").why,
            "Cannot initialise the Blowfish cipher. (The value of the configuration key "
            "'system.shared_key' is 57 bytes long; the most is 56.)");

  const nuv::CExpEval hostless;
  nuv::CMultiVariant out;
  EXPECT_EQ(failureOf([&] { hostless.execute(out, *hostless.parse("[$ENCRYPT(\"x\")]")); }).why,
            "Cannot initialise the Blowfish cipher. (No host controller supplies the shared "
            "server key.)");
}
