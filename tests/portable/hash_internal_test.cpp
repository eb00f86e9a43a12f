// Native only: reaches the containers' replaceable allocator and the block
// hash, which the DLL does not export.
#include <gtest/gtest.h>

#include <cstdint>

#include "containers/block_hash.h"
#include "containers/container_alloc.h"
#include "ktutil.h"

namespace {

// Fails every allocation larger than limit bytes while it lives.
struct AllocLimit {
  static inline size_t limit_ = 0;
  explicit AllocLimit(size_t limit) {
    limit_ = limit;
    kt::g_containerAlloc = [](size_t count, size_t size) -> void * {
      return count * size > limit_ ? nullptr : std::calloc(count, size);
    };
  }
  ~AllocLimit() { kt::g_containerAlloc = std::calloc; }
};

DWORD KTAPI KeyOf(LPVOID entry, LPVOID) {
  return static_cast<DWORD>(reinterpret_cast<uintptr_t>(entry) >> 4);
}

TEST(ContainerGrowthFailure, TablesCarryOnInTheirOldArray) {
  {
    AllocLimit none(0);
    EXPECT_EQ(HashCreate(16, KeyOf, nullptr, nullptr), nullptr);
    EXPECT_EQ(MapCreate(16), nullptr);
    EXPECT_EQ(MultiMapCreate(16), nullptr);
  }
  HHASHTABLE hash = HashCreate(16, KeyOf, nullptr, nullptr);
  HMAP map = MapCreate(16);
  HMULTIMAP multi = MultiMapCreate(16);
  static char entries[33 * 16];
  {
    AllocLimit limit(512);  // 32 slots of at most 16 bytes fit; 64 do not
    for (DWORD i = 0; i < 32; ++i) {
      EXPECT_TRUE(HashAddEntry(hash, entries + 16 * (i + 1))) << i;
      EXPECT_TRUE(MapAddEntry(map, i, i + 1)) << i;
      EXPECT_TRUE(MultiMapAddEntry(multi, i, i)) << i;
    }
    EXPECT_FALSE(HashAddEntry(hash, entries));
    EXPECT_FALSE(MapAddEntry(map, 99, 1));
    EXPECT_FALSE(MultiMapAddEntry(multi, 99, 1));
    EXPECT_TRUE(MultiMapAddEntry(multi, 5, 55));  // an existing key needs no slot
    AllocLimit none(0);
    EXPECT_FALSE(MultiMapAddEntry(multi, 6, 66));  // no node: nothing changes
  }
  for (DWORD i = 0; i < 32; ++i) {
    LPVOID entry = entries + 16 * (i + 1);
    EXPECT_EQ(HashFindEntry(hash, KeyOf(entry, nullptr)), entry);
    EXPECT_EQ(MapFindEntry(map, i), i + 1);
  }
  // Growth works again once memory is back.
  EXPECT_TRUE(HashAddEntry(hash, entries));
  EXPECT_TRUE(MapAddEntry(map, 99, 1));
  EXPECT_TRUE(MultiMapAddEntry(multi, 99, 1));
  HashDestroy(hash);
  MapDestroy(map);
  MultiMapDestroy(multi);
}

TEST(BlockHash, NeverGivesReservedKeys) {
  const BYTE five[4] = {5, 0, 0, 0};
  EXPECT_EQ(kt::BlockHash(five, 4), 513u);  // 5 ^ 5 = 0 is reserved
  const BYTE ones[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(kt::BlockHash(ones, 4), 0xFFFFFF00u);
}

}  // namespace
