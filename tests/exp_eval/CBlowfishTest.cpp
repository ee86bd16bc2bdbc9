#include <gtest/gtest.h>

#include <array>

#include "exp_eval/CBlowfish.h"
#include "tests/fixtures/FailureOf.h"

using nuv::CBlowfish;

namespace {

std::array<std::uint8_t, 8> encrypt(const CBlowfish& cipher, std::array<std::uint8_t, 8> block) {
  cipher.encrypt(block.data(), block.size(), block.data());
  return block;
}

}  // namespace

// Keys shorter than nettle's 8-byte minimum are repeated; Blowfish cycles
// its key bytes, so the repetition is the same key.
TEST(CBlowfishTest, ShortKeysActAsThemselves) {
  const std::array<std::uint8_t, 8> block{1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(encrypt(CBlowfish("abc"), block), encrypt(CBlowfish("abcabcabc"), block));
  EXPECT_EQ(encrypt(CBlowfish("k"), block), encrypt(CBlowfish("kkkkkkkk"), block));
  EXPECT_NE(encrypt(CBlowfish("abc"), block), encrypt(CBlowfish("abd"), block));
  std::array<std::uint8_t, 8> back = encrypt(CBlowfish("abc"), block);
  CBlowfish("abc").decrypt(back.data(), back.size(), back.data());
  EXPECT_EQ(back, block);
}

TEST(CBlowfishTest, KeyLengthIsChecked) {
  EXPECT_EQ(failureOf([] { CBlowfish(""); }),
            (Failure{"exp_eval", "CBlowfish::CBlowfish", "Cannot set the Blowfish key.",
                     "A key must be 1 to 56 bytes long, not 0."}));
  EXPECT_EQ(failureOf([] { CBlowfish(std::string(57, 'x')); }).why,
            "A key must be 1 to 56 bytes long, not 57.");
  CBlowfish longest(std::string(56, 'x'));
}
