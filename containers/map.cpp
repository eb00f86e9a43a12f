// Open-addressing map of 32-bit keys to pointer-sized values, stored inline.
#include "containers/word_slots.h"
#include "ktutil.h"

struct KtMap {
  kt::WordSlots table;
};

extern "C" HMAP KTAPI MapCreate(DWORD sizeHint) { return kt::NewTable<KtMap>(sizeHint); }

extern "C" void KTAPI MapDestroy(HMAP map) {
  if (map != nullptr) kt::DeleteTable(map);
}

extern "C" BOOL KTAPI MapAddEntry(HMAP map, DWORD key, UINT_PTR value) {
  // 0 and all ones mark free slots: such a value could never be found again.
  if (map == nullptr || value == 0 || value == kt::WordSlots::kDeleted) return FALSE;
  kt::WordSlots &t = map->table;
  DWORD probeLimit = t.Capacity();
  if (t.Crowded()) t.Grow(kt::WordSlots::NoCollision);
  return t.Place(key, value, probeLimit, kt::WordSlots::NoCollision) ? TRUE : FALSE;
}

extern "C" BOOL KTAPI MapClrEntry(HMAP map, DWORD key) {
  if (map == nullptr) return FALSE;
  DWORD slot = map->table.FindKey(key);
  if (slot == kt::WordSlots::kNone) return FALSE;
  map->table.Remove(slot);
  return TRUE;
}

extern "C" BOOL KTAPI MapClrAll(HMAP map) {
  if (map == nullptr) return FALSE;
  map->table.Clear();
  return TRUE;
}

extern "C" UINT_PTR KTAPI MapFindEntry(HMAP map, DWORD key) {
  return map == nullptr ? 0 : map->table.Find(key);
}
