#include <gtest/gtest.h>

#include "standard/CGeneralPtr.h"

namespace {
struct Counted {
  explicit Counted(int* alive) : alive(alive) { ++*alive; }
  ~Counted() { --*alive; }
  int* alive;
};
}  // namespace

TEST(CGeneralPtrTest, OwningAndUnownedReferences) {
  int alive = 0;
  {
    nuv::CGeneralPtr<Counted> owner = nuv::makeGeneral<Counted>(&alive);
    nuv::CGeneralPtr<Counted> copy = owner;
    EXPECT_EQ(owner.use_count(), 2);
    owner.reset();
    EXPECT_EQ(alive, 1) << "the last reference keeps it";
  }
  EXPECT_EQ(alive, 0);

  Counted onStack(&alive);
  {
    nuv::CGeneralPtr<Counted> view = nuv::unowned(&onStack);
    nuv::CGeneralPtr<Counted> viewCopy = view;
    EXPECT_EQ(viewCopy.get(), &onStack);
    EXPECT_TRUE(viewCopy);
    EXPECT_EQ(viewCopy.use_count(), 0);
  }
  EXPECT_EQ(alive, 1) << "an unowned reference never deletes";
}
