#include <gtest/gtest.h>

#include <cstdio>

#include "tests/fixtures/PrivateNetns.h"

int main(int argc, char** argv) {
  // Before gtest or anything else starts a thread, so that every host the
  // tests start shares the namespace with them.
  if (const std::string& why = enterPrivateNetns(); !why.empty())
    std::fprintf(stderr, "serving tests skip: %s\n", why.c_str());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
