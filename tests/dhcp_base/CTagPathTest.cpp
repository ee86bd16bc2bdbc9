// Paths: text forms, ordering, and the switch from inline to heap storage.

#include <gtest/gtest.h>

#include "OptionFixture.h"

using namespace optiontest;

TEST(CTagPathTest, TextAndOrdering) {
  CTagPath p("3/4/5");
  EXPECT_EQ(p.size(), 3u);
  EXPECT_EQ(p.tag(), 5u);
  EXPECT_EQ((CTagPath{3, 4} + 5u), p);
  EXPECT_EQ(CTagPath("-256").string(), "-256");
  EXPECT_EQ(CTagPath("-256")[0], 0xffffff00u);
  EXPECT_TRUE(CTagPath("3/4") < CTagPath("3/4/5"));
  EXPECT_TRUE(CTagPath("3/5") > CTagPath("3/4/5"));
  EXPECT_TRUE(CTagPath("3/4/5").startsWith(CTagPath("3/4")));
  EXPECT_EQ(CTagPath("").size(), 0u);
  EXPECT_EQ(CVendorID(" 4491 ").string(), "4491");
  EXPECT_EQ(failure([] { CTagPath("3//5"); }),
            "Cannot set tag path from text '3//5'. | Invalid path component ''.");
  EXPECT_EQ(failure([] { CVendorID("x"); }),
            "Cannot set vendor id from text 'x'. | Invalid path component 'x'.");
}

TEST(CTagPathTest, LongPathsSpillAndCopy) {
  CTagPath p;
  for (std::uint32_t i = 1; i <= 100; ++i) p.push_back(i);
  CTagPath copy = p;
  EXPECT_EQ(copy, p);
  EXPECT_EQ(copy[99], 100u);
  CTagPath shortOne{1, 2};
  shortOne = p;
  EXPECT_EQ(shortOne.string().substr(0, 12), "1/2/3/4/5/6/");
  p = CTagPath{7};
  EXPECT_EQ(p.string(), "7");
  EXPECT_EQ(failure([&] { copy.push_back(101); }),
            "Cannot extend path. | A path has at most 100 components.");
}
