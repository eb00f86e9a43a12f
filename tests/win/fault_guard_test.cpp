#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "core/fault_guard.h"

namespace {

TEST(FaultGuard, AFaultOrAnExceptionEndsOnlyTheGuardedWork) {
  int zero = 0, runs = 0;
  EXPECT_FALSE(kt::RunGuarded([](void *) { *(volatile int *)nullptr = 1; }, 0));
  EXPECT_FALSE(kt::RunGuarded([](void *z) { *(int *)z /= *(volatile int *)z; }, &zero));
  EXPECT_FALSE(kt::RunGuarded([](void *) { throw std::runtime_error("x"); }, nullptr));
  // Nested: the inner guard takes the fault, the outer work goes on.
  EXPECT_TRUE(kt::RunGuarded(
      [](void *r) {
        *(int *)r += !kt::RunGuarded([](void *) { *(volatile int *)nullptr = 1; }, 0);
      },
      &runs));
  // A fault that system code handles itself is not the guarded work's.
  EXPECT_TRUE(kt::RunGuarded([](void *r) { *(int *)r += IsBadReadPtr((void *)16, 4); }, &runs));
  EXPECT_EQ(runs, 2);
  // The guard is gone: a fault handled further up still reaches its handler.
  EXPECT_TRUE(IsBadReadPtr((void *)16, 4));
}

}  // namespace
