#include <gtest/gtest.h>

#include <cstdio>

#include "tests/netns/CNetNamespace.h"

int main(int argc, char** argv) {
  // Before gtest or anything else starts a thread.
  if (!CNetNamespace::enter())
    std::fprintf(stderr, "socket tests skip: %s\n", CNetNamespace::whyNot().c_str());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
