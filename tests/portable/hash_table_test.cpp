#include <gtest/gtest.h>

#include <vector>

#include "ktutil.h"

namespace {

struct Item {
  DWORD key;
};

DWORD KTAPI KeyOf(LPVOID entry, LPVOID) { return static_cast<Item *>(entry)->key; }

BOOL KTAPI Collect(LPVOID entry, LPVOID context) {
  static_cast<std::vector<DWORD> *>(context)->push_back(static_cast<Item *>(entry)->key);
  return TRUE;
}
BOOL KTAPI StopAtOnce(LPVOID, LPVOID) { return FALSE; }

TEST(HashTable, GrowsOnTheEighteenthAddAndKeepsEveryEntry) {
  EXPECT_EQ(HashCreate(16, nullptr, nullptr, nullptr), nullptr);
  std::vector<DWORD> seen;
  HHASHTABLE hash = HashCreate(16, KeyOf, nullptr, &seen);
  // 33 and 1 share slot 1 of 32 slots: 33 came first and holds it.
  std::vector<Item> items = {{33}, {1}};
  for (DWORD k = 100; items.size() < 18; ++k) items.push_back({k});
  // Enumeration runs in slot order, which shows the capacity.
  for (size_t i = 0; i < 17; ++i) ASSERT_TRUE(HashAddEntry(hash, &items[i]));
  HashEnumEntries(hash, Collect);
  EXPECT_EQ(seen[0], 33u);
  ASSERT_TRUE(HashAddEntry(hash, &items[17]));  // count 17 of 32: grow to 64
  seen.clear();
  HashEnumEntries(hash, Collect);
  EXPECT_EQ(seen[0], 1u);  // 1 in slot 1, 33 in slot 33
  for (Item &item : items) EXPECT_EQ(HashFindEntry(hash, item.key), &item);
  EXPECT_EQ(HashEnumEntries(hash, StopAtOnce), 1u);
  HashDestroy(hash);
}

TEST(HashTable, RemovalIsByIdentityAndKeepsProbePaths) {
  HHASHTABLE hash = HashCreate(16, KeyOf, nullptr, nullptr);
  Item a{5}, b{37}, twin{5};
  ASSERT_TRUE(HashAddEntry(hash, &a));
  ASSERT_TRUE(HashAddEntry(hash, &b));  // pushed past a to slot 6
  EXPECT_FALSE(HashClrEntry(hash, &twin));
  EXPECT_TRUE(HashClrEntry(hash, &a));
  EXPECT_EQ(HashFindEntry(hash, 37), &b);
  EXPECT_EQ(HashFindEntry(hash, 5), nullptr);
  // Equal keys coexist; the first stored is found.
  ASSERT_TRUE(HashAddEntry(hash, &twin));
  ASSERT_TRUE(HashAddEntry(hash, &a));
  EXPECT_EQ(HashFindEntry(hash, 5), &twin);
  // The slot markers are refused.
  EXPECT_FALSE(HashAddEntry(hash, nullptr));
  EXPECT_FALSE(HashClrEntry(hash, reinterpret_cast<LPVOID>(~UINT_PTR{0})));
  EXPECT_TRUE(HashClrAll(hash));
  EXPECT_EQ(HashFindEntry(hash, 37), nullptr);
  HashDestroy(hash);
}

std::vector<LPVOID> g_collided;
DWORD KTAPI NextKey(LPVOID existing, LPVOID) {
  g_collided.push_back(existing);
  return static_cast<Item *>(existing)->key + 10;
}

TEST(HashTable, CollisionFunctionMovesTheNewEntryOn) {
  HHASHTABLE hash = HashCreate(16, KeyOf, NextKey, nullptr);
  Item first{3}, second{3}, third{13};
  ASSERT_TRUE(HashAddEntry(hash, &first));
  ASSERT_TRUE(HashAddEntry(hash, &second));  // moves on to key 13's home slot
  // third has key 13 but meets second (key 3) there: no collision, next slot.
  ASSERT_TRUE(HashAddEntry(hash, &third));
  EXPECT_EQ(g_collided, std::vector<LPVOID>{&first});
  EXPECT_EQ(HashFindEntry(hash, 3), &first);
  EXPECT_EQ(HashFindEntry(hash, 13), &third);
  HashDestroy(hash);
}

TEST(Map, KeysValuesProbePathsAndGrowth) {
  EXPECT_EQ(MapCreate(15), nullptr);
  HMAP map = MapCreate(16);
  ASSERT_TRUE(MapAddEntry(map, 0, 5));
  EXPECT_EQ(MapFindEntry(map, 0), 5u);
  EXPECT_TRUE(MapClrEntry(map, 0));
  EXPECT_FALSE(MapClrEntry(map, 0));
  ASSERT_TRUE(MapAddEntry(map, 44, 7));
  ASSERT_TRUE(MapAddEntry(map, 44, 9));
  EXPECT_EQ(MapFindEntry(map, 44), 7u);
  EXPECT_TRUE(MapClrEntry(map, 44));
  EXPECT_EQ(MapFindEntry(map, 44), 9u);
  EXPECT_FALSE(MapAddEntry(map, 1, 0));
  EXPECT_FALSE(MapAddEntry(map, 1, ~UINT_PTR{0}));
  EXPECT_TRUE(MapClrAll(map));
  EXPECT_EQ(MapFindEntry(map, 44), 0u);
  // 3 and 35 share the home slot 3 of 32.
  ASSERT_TRUE(MapAddEntry(map, 3, 30));
  ASSERT_TRUE(MapAddEntry(map, 35, 350));
  ASSERT_TRUE(MapClrEntry(map, 3));
  EXPECT_EQ(MapFindEntry(map, 35), 350u);
  // Grown past 32 slots, pointer-sized values survive whole.
  const UINT_PTR big = ~UINT_PTR{0} - 1;
  for (DWORD k = 0; k < 40; ++k) ASSERT_TRUE(MapAddEntry(map, k * 32 + 7, big - k));
  for (DWORD k = 0; k < 40; ++k) EXPECT_EQ(MapFindEntry(map, k * 32 + 7), big - k);
  EXPECT_EQ(MapFindEntry(map, 35), 350u);
  MapDestroy(map);
}

}  // namespace
