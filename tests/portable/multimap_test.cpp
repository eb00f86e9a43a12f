#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "ktutil.h"

namespace {

using V = std::vector<UINT_PTR>;

struct Walk {
  V values;
  size_t stopAt = 0;  // returns FALSE on this call (1-based); 0 = never
};

BOOL KTAPI Record(DWORD, UINT_PTR value, LPVOID context) {
  Walk *walk = static_cast<Walk *>(context);
  walk->values.push_back(value);
  return walk->values.size() != walk->stopAt;
}

V Values(HMULTIMAP multi, DWORD key) {
  Walk walk;
  EXPECT_TRUE(MultiMapEnumEntries(multi, key, Record, &walk));
  return walk.values;
}

TEST(MultiMap, ValuesComeOutNewestFirst) {
  HMULTIMAP multi = MultiMapCreate(16);
  for (UINT_PTR v : {1, 2, 3}) ASSERT_TRUE(MultiMapAddEntry(multi, 9, v));
  ASSERT_TRUE(MultiMapAddEntry(multi, 41, 0));  // same home slot; value 0 is fine
  EXPECT_EQ(Values(multi, 9), (V{3, 2, 1}));
  Walk walk;
  walk.stopAt = 2;
  EXPECT_FALSE(MultiMapEnumEntries(multi, 9, Record, &walk));
  EXPECT_EQ(walk.values.size(), 2u);
  EXPECT_TRUE(MultiMapClrEntry(multi, 9));
  EXPECT_FALSE(MultiMapClrEntry(multi, 9));
  // A key added again after a neighbour on its path was cleared keeps one
  // list, not two.
  ASSERT_TRUE(MultiMapAddEntry(multi, 9, 4));
  ASSERT_TRUE(MultiMapClrEntry(multi, 9));
  ASSERT_TRUE(MultiMapAddEntry(multi, 41, 5));
  EXPECT_EQ(Values(multi, 41), (V{5, 0}));
  EXPECT_TRUE(MultiMapClrAll(multi));
  EXPECT_EQ(Values(multi, 41), V{});
  MultiMapDestroy(multi);
}

// The lock is recursive: a callback may add other keys, even when that grows
// the slot array under the running enumeration.
BOOL KTAPI AddOthers(DWORD key, UINT_PTR value, LPVOID context) {
  for (DWORD k = 1; k <= 40; ++k) MultiMapAddEntry(static_cast<HMULTIMAP>(context), key + k, value);
  return TRUE;
}

TEST(MultiMap, CallbackMayGrowTheMap) {
  HMULTIMAP multi = MultiMapCreate(16);
  MultiMapAddEntry(multi, 1000, 1);
  MultiMapAddEntry(multi, 1000, 2);
  EXPECT_TRUE(MultiMapEnumEntries(multi, 1000, AddOthers, multi));
  EXPECT_EQ(Values(multi, 1000), (V{2, 1}));
  EXPECT_EQ(Values(multi, 1040), (V{1, 2}));
  MultiMapDestroy(multi);
}

// Threads add, enumerate and clear keys whose probe paths interleave (keys
// k * 4 + thread), and all add to one shared key. Bounded by counts, not time.
TEST(MultiMap, ContentionLosesNoValue) {
  constexpr int kThreads = 4, kRounds = 150, kKeys = 8;
  constexpr DWORD kShared = 0xFFFF;
  HMULTIMAP multi = MultiMapCreate(16);
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        for (DWORD k = 0; k < kKeys; ++k)
          for (UINT_PTR v = 1; v <= 5; ++v)
            if (!MultiMapAddEntry(multi, k * 4 + t, v)) ++failures;
        for (DWORD k = 0; k < kKeys; ++k) {
          Walk walk;
          MultiMapEnumEntries(multi, k * 4 + t, Record, &walk);
          if (walk.values != V{5, 4, 3, 2, 1}) ++failures;
          if (!MultiMapClrEntry(multi, k * 4 + t)) ++failures;
        }
        MultiMapAddEntry(multi, kShared, static_cast<UINT_PTR>(t * kRounds + round));
      }
    });
  }
  for (std::thread &thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  V shared = Values(multi, kShared);
  std::sort(shared.begin(), shared.end());
  ASSERT_EQ(shared.size(), static_cast<size_t>(kThreads * kRounds));
  for (size_t i = 0; i < shared.size(); ++i) EXPECT_EQ(shared[i], i);
  MultiMapDestroy(multi);
}

}  // namespace
