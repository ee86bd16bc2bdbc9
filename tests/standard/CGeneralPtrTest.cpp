#include <gtest/gtest.h>

#include "standard/CGeneralPtr.h"

TEST(CGeneralPtrTest, UnownedReferenceNeverDeletes) {
  struct Probe {
    bool* destroyed;
    ~Probe() { *destroyed = true; }
  };
  bool destroyed = false;
  {
    Probe onStack{&destroyed};
    {
      const nuv::CGeneralPtr<Probe> view = nuv::unowned(&onStack);
      const nuv::CGeneralPtr<Probe> copy = view;
      EXPECT_EQ(copy.get(), &onStack);
      EXPECT_EQ(copy.use_count(), 0);
    }
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
}
