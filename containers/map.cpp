// Open-addressing map of 32-bit keys to pointer-sized values, stored inline.
#include "containers/slot_array.h"
#include "ktutil.h"

namespace {

constexpr UINT_PTR kDeleted = ~UINT_PTR{0};

struct MapSlot {
  DWORD key;
  UINT_PTR value;  // 0 = empty, all ones = deleted
};

bool IsLive(const MapSlot &slot) { return slot.value != 0 && slot.value != kDeleted; }

}  // namespace

struct KtMap {
  kt::SlotArray<MapSlot> table;
};

namespace {

bool Place(kt::SlotArray<MapSlot> &t, DWORD key, UINT_PTR value, DWORD probeLimit) {
  for (DWORD i = 0; i < probeLimit; ++i) {
    MapSlot &slot = t.Probe(key, i);
    if (!IsLive(slot)) {
      slot.key = key;
      slot.value = value;
      ++t.count;
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" HMAP KTAPI MapCreate(DWORD sizeHint) { return kt::NewTable<KtMap>(sizeHint); }

extern "C" void KTAPI MapDestroy(HMAP map) {
  if (map != nullptr) kt::DeleteTable(map);
}

extern "C" BOOL KTAPI MapAddEntry(HMAP map, DWORD key, UINT_PTR value) {
  // 0 and all ones mark free slots: such a value could never be found again.
  if (map == nullptr || value == 0 || value == kDeleted) return FALSE;
  kt::SlotArray<MapSlot> &t = map->table;
  DWORD probeLimit = t.capacity;
  if (t.Crowded()) {
    t.Grow(IsLive,
           [&t](const MapSlot &old) { Place(t, old.key, old.value, t.capacity); });
  }
  return Place(t, key, value, probeLimit) ? TRUE : FALSE;
}

namespace {

// The first live pair with the key on its probe path, or null.
MapSlot *FindPair(KtMap *map, DWORD key) {
  return map->table.Search(
      key, [](const MapSlot &s) { return s.value == 0; },
      [key](const MapSlot &s) { return s.key == key && s.value != kDeleted; });
}

}  // namespace

extern "C" BOOL KTAPI MapClrEntry(HMAP map, DWORD key) {
  if (map == nullptr) return FALSE;
  MapSlot *slot = FindPair(map, key);
  if (slot == nullptr) return FALSE;
  slot->key = 0;
  slot->value = kDeleted;
  --map->table.count;
  return TRUE;
}

extern "C" BOOL KTAPI MapClrAll(HMAP map) {
  if (map == nullptr) return FALSE;
  map->table.Clear();
  return TRUE;
}

extern "C" UINT_PTR KTAPI MapFindEntry(HMAP map, DWORD key) {
  if (map == nullptr) return 0;
  MapSlot *slot = FindPair(map, key);
  return slot == nullptr ? 0 : slot->value;
}
