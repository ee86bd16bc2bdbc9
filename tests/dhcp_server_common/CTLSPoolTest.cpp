#include <gtest/gtest.h>

#include "dhcp_server_common/CTLSPool.h"
#include "tests/fixtures/FailureOf.h"

TEST(CTLSPoolTest, EachSlotHoldsOneStateUntilRemoved) {
  CTLSPool<int> pool(2);
  int a = 1;
  pool.insert(1, &a);
  EXPECT_EQ(&pool.find(1), &a);
  EXPECT_TRUE(pool.contains(1));
  EXPECT_FALSE(pool.contains(0));
  EXPECT_EQ(pool.remove(1), &a);
  EXPECT_FALSE(pool.contains(1));
}

TEST(CTLSPoolTest, FailuresNameTheThreadAndTheReason) {
  CTLSPool<int> pool(2);
  int a = 1;
  pool.insert(0, &a);
  const struct {
    std::function<void()> op;
    Failure expected;
  } cases[] = {
      {[&] { pool.insert(0, &a); },
       {"dhcp_server_common", "CTLSPool::insert",
        "Cannot insert thread-local storage for thread 0.", "Object already exists."}},
      {[&] { pool.insert(2, &a); },
       {"dhcp_server_common", "CTLSPool::insert",
        "Cannot insert thread-local storage for thread 2.", "Out of bounds."}},
      {[&] { pool.find(2); },
       {"dhcp_server_common", "CTLSPool::find", "Cannot access thread-local storage for thread 2.",
        "Out of bounds."}},
      {[&] { pool.find(1); },
       {"dhcp_server_common", "CTLSPool::find", "Cannot access thread-local storage for thread 1.",
        "No such object."}},
      {[&] { pool.remove(-1); },
       {"dhcp_server_common", "CTLSPool::remove",
        "Cannot remove thread-local storage for thread -1.", "Out of bounds."}},
      {[&] { pool.remove(1); },
       {"dhcp_server_common", "CTLSPool::remove",
        "Cannot remove thread-local storage for thread 1.", "No such object."}},
  };
  for (const auto& c : cases) EXPECT_EQ(failureOf(c.op), c.expected);
}
