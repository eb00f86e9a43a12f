#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "ktutil.h"
#ifndef _WIN32
// The DLL exports neither the replaceable allocator nor the block hash.
#include "containers/block_hash.h"
#include "containers/container_alloc.h"
#endif

namespace {

struct Item {
  DWORD key;
};

DWORD KTAPI KeyOf(LPVOID entry, LPVOID) { return static_cast<Item *>(entry)->key; }
DWORD KTAPI AddressKey(LPVOID entry, LPVOID) { return DWORD(UINT_PTR(entry)); }

std::vector<LPVOID> g_collided;
DWORD KTAPI NextKey(LPVOID existing, LPVOID) {
  g_collided.push_back(existing);
  return static_cast<Item *>(existing)->key + 10;
}

TEST(MapAndHashTable, ProbePathsRepeatedKeysMarkersGrowthAndCollisions) {
  HMAP map = MapCreate(16);
  // A repeated key is stored again; clearing uncovers the older value.
  ASSERT_TRUE(MapAddEntry(map, 44, 7) && MapAddEntry(map, 44, 9));
  EXPECT_EQ(MapFindEntry(map, 44), 7u);
  EXPECT_TRUE(MapClrEntry(map, 44) && MapFindEntry(map, 44) == 9u);
  EXPECT_FALSE(MapAddEntry(map, 1, 0) || MapAddEntry(map, 1, ~UINT_PTR{0}));
  EXPECT_TRUE(MapClrAll(map) && MapFindEntry(map, 44) == 0u);
  // Six keys of home slot 27 of 32: the path runs past the four slots a
  // lookup may read at once, and on from the last slot to the first.
  for (DWORD k = 27; k < 200; k += 32) ASSERT_TRUE(MapAddEntry(map, k, k + 1));
  EXPECT_TRUE(MapClrEntry(map, 59) && MapFindEntry(map, 59) == 0u);
  for (DWORD k = 91; k < 200; k += 32) EXPECT_EQ(MapFindEntry(map, k), k + 1);
  EXPECT_TRUE(MapFindEntry(map, 219) == 0u && MapFindEntry(map, 31) == 0u);
  MapDestroy(map);

  // The hash table: growth, removal, enumeration and collisions.
  DWORD calls = 0;
  HHASHTABLE hash = HashCreate(16, KeyOf, nullptr, &calls);
  // One home slot until the table passes 64 slots: long probe paths, rehashed.
  std::vector<Item> items(40);
  for (DWORD k = 0; k < 40; ++k) items[k].key = k * 64 + 1;
  for (Item &item : items) ASSERT_TRUE(HashAddEntry(hash, &item));
  // Removal is by identity, and the paths through the freed slot still lead on.
  Item twin{1};
  EXPECT_FALSE(HashClrEntry(hash, &twin));
  EXPECT_TRUE(HashClrEntry(hash, &items[0]) && HashFindEntry(hash, 1) == nullptr);
  for (DWORD k = 1; k < 40; ++k) EXPECT_EQ(HashFindEntry(hash, items[k].key), &items[k]);
  // Equal keys coexist; the one nearer home is found.
  ASSERT_TRUE(HashAddEntry(hash, &twin) && HashAddEntry(hash, &items[0]));
  EXPECT_EQ(HashFindEntry(hash, 1), &twin);
  EXPECT_FALSE(HashAddEntry(hash, nullptr));  // null marks a free slot
  // The context reaches the callback, whose FALSE ends the walk.
  auto second = [](LPVOID, LPVOID n) -> BOOL { return ++*static_cast<DWORD *>(n) < 2; };
  EXPECT_TRUE(HashEnumEntries(hash, second) == 2u && calls == 2u);
  EXPECT_TRUE(HashClrAll(hash) && HashFindEntry(hash, 65) == nullptr);
  HashDestroy(hash);

  // A collision function moves the new entry on: second moves on to key
  // 13's home slot; third (key 13) meets second (key 3) there: no
  // collision, next slot.
  hash = HashCreate(16, KeyOf, NextKey, nullptr);
  Item first{3}, again{3}, third{13};
  ASSERT_TRUE(HashAddEntry(hash, &first) && HashAddEntry(hash, &again) &&
              HashAddEntry(hash, &third));
  EXPECT_EQ(g_collided, std::vector<LPVOID>{&first});
  EXPECT_TRUE(HashFindEntry(hash, 3) == &first && HashFindEntry(hash, 13) == &third);
  HashDestroy(hash);

  // A 64-bit build keeps only lower halves while all words share an upper
  // half; an entry outside it must never pass for its lower half.
  if (sizeof(UINT_PTR) == sizeof(DWORD)) return;
  hash = HashCreate(16, AddressKey, nullptr, nullptr);
  LPVOID nearby = reinterpret_cast<LPVOID>(0x40),
         distant = reinterpret_cast<LPVOID>(UINT_PTR{1} << 16 << 16 | 0x40);
  ASSERT_TRUE(HashAddEntry(hash, nearby) && !HashClrEntry(hash, distant) &&
              HashAddEntry(hash, distant));
  EXPECT_TRUE(HashClrEntry(hash, distant) && HashFindEntry(hash, 0x40) == nearby);
  HashDestroy(hash);
}

using V = std::vector<UINT_PTR>;

// A multimap key's values, newest first.
V Values(HMULTIMAP multi, DWORD key) {
  V values;
  auto add = [](DWORD, UINT_PTR value, LPVOID v) -> BOOL {
    static_cast<V *>(v)->push_back(value);
    return TRUE;
  };
  EXPECT_TRUE(MultiMapEnumEntries(multi, key, add, &values));
  return values;
}

TEST(MultiMap, OneListPerKeyAndReentrantWalks) {
  HMULTIMAP multi = MultiMapCreate(16);
  for (UINT_PTR v : {1, 2}) ASSERT_TRUE(MultiMapAddEntry(multi, 9, v));
  ASSERT_TRUE(MultiMapAddEntry(multi, 41, 0));  // same home slot; value 0 is fine
  // A callback's FALSE ends the walk.
  int calls = 0;
  auto second = [](DWORD, UINT_PTR, LPVOID n) -> BOOL {
    return ++*static_cast<int *>(n) < 2;
  };
  EXPECT_FALSE(MultiMapEnumEntries(multi, 9, second, &calls));
  EXPECT_EQ(calls, 2);
  // A key added again after a neighbour before it on its path was cleared
  // keeps one list, not two.
  ASSERT_TRUE(MultiMapClrEntry(multi, 9) && MultiMapAddEntry(multi, 41, 5));
  EXPECT_EQ(Values(multi, 41), (V{5, 0}));
  EXPECT_TRUE(MultiMapClrAll(multi) && Values(multi, 41).empty());
  // The lock is recursive: a callback may add other keys, even when that
  // grows the slot array under the running enumeration.
  for (UINT_PTR v : {1, 2}) MultiMapAddEntry(multi, 1000, v);
  EXPECT_TRUE(MultiMapEnumEntries(
      multi, 1000,
      [](DWORD key, UINT_PTR value, LPVOID m) -> BOOL {
        for (DWORD k = 1; k <= 40; ++k)
          MultiMapAddEntry(static_cast<HMULTIMAP>(m), key + k, value);
        return TRUE;
      },
      multi));
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
  int failures[kThreads] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        for (DWORD k = 0; k < kKeys; ++k)
          for (UINT_PTR v = 1; v <= 5; ++v)
            failures[t] += !MultiMapAddEntry(multi, k * 4 + t, v);
        for (DWORD k = 0; k < kKeys; ++k) {
          failures[t] += Values(multi, k * 4 + t) != V{5, 4, 3, 2, 1};
          failures[t] += !MultiMapClrEntry(multi, k * 4 + t);
        }
        MultiMapAddEntry(multi, kShared, static_cast<UINT_PTR>(t * kRounds + round));
      }
    });
  }
  for (std::thread &thread : threads) thread.join();
  EXPECT_EQ(std::count(failures, failures + kThreads, 0), kThreads);
  V shared = Values(multi, kShared);
  std::sort(shared.begin(), shared.end());
  ASSERT_EQ(shared.size(), static_cast<size_t>(kThreads * kRounds));
  for (size_t i = 0; i < shared.size(); ++i) EXPECT_EQ(shared[i], i);
  MultiMapDestroy(multi);
}

#ifndef _WIN32
// While it lives, every allocation larger than g_limit bytes fails.
size_t g_limit = SIZE_MAX;
struct AllocLimit {
  AllocLimit() {
    kt::g_containerAlloc = [](size_t count, size_t size) -> void * {
      return count * size > g_limit ? nullptr : std::calloc(count, size);
    };
  }
  ~AllocLimit() { kt::g_containerAlloc = std::calloc; }
};

TEST(NativeInternals, TablesCarryOnInTheirOldArrayAndBlockHashesAvoidReservedKeys) {
  AllocLimit alloc;
  g_limit = 0;  // the three share the handle's allocation
  EXPECT_EQ(HashCreate(16, KeyOf, nullptr, nullptr), nullptr);
  g_limit = SIZE_MAX;
  HHASHTABLE hash = HashCreate(16, KeyOf, nullptr, nullptr);
  HMAP map = MapCreate(16);
  HMULTIMAP multi = MultiMapCreate(16);
  std::vector<Item> items(33);
  g_limit = 256;  // 32 slots of 8 bytes fit; 64 do not, nor wider ones
  for (DWORD i = 0; i < 32; ++i) {
    items[i].key = i + 1;
    EXPECT_TRUE(HashAddEntry(hash, &items[i]) && MapAddEntry(map, i, i + 1) &&
                MultiMapAddEntry(multi, i, i))
        << i;
  }
  EXPECT_FALSE(HashAddEntry(hash, &items[32]) || MapAddEntry(map, 99, 1) ||
               MultiMapAddEntry(multi, 99, 1));
  EXPECT_TRUE(MultiMapAddEntry(multi, 5, 55));  // an existing key needs no slot
  g_limit = 0;
  EXPECT_FALSE(MultiMapAddEntry(multi, 6, 66));  // no node: nothing changes
  g_limit = SIZE_MAX;
  for (DWORD i = 0; i < 32; ++i)
    EXPECT_TRUE(HashFindEntry(hash, i + 1) == &items[i] && MapFindEntry(map, i) == i + 1)
        << i;
  EXPECT_EQ(Values(multi, 6), V{6});
  // Growth works again once memory is back.
  EXPECT_TRUE(HashAddEntry(hash, &items[32]) && MapAddEntry(map, 99, 1) &&
              MultiMapAddEntry(multi, 99, 1));
  if (sizeof(UINT_PTR) > sizeof(DWORD)) {  // widening 64-bit slots needs memory too
    const UINT_PTR wide = UINT_PTR{1} << 16 << 16 | 7;
    g_limit = 0;
    EXPECT_FALSE(MapAddEntry(map, 100, wide));
    g_limit = SIZE_MAX;
    EXPECT_TRUE(MapAddEntry(map, 100, wide) && MapFindEntry(map, 31) == 32u);
  }
  HashDestroy(hash);
  MapDestroy(map);
  MultiMapDestroy(multi);

  // Block hashes never give a key the tables reserve.
  const BYTE five[4] = {5, 0, 0, 0}, ones[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(kt::BlockHash(five, 4), 513u);  // 5 ^ 5 = 0 is reserved
  EXPECT_EQ(kt::BlockHash(ones, 4), 0xFFFFFF00u);
}
#endif

}  // namespace
