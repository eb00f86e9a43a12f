// Open-addressing table of caller entries keyed by the caller's key function.
//
// Each slot keeps the entry's key beside the pointer, taken from the key
// function when the entry is stored. Lookups compare that copy instead of
// calling back into the caller's record for every entry on the probe path:
// one cache line per probe instead of one per entry. Entries must not change
// their key while stored, which the table already relies on to find them.
#include "containers/slot_array.h"
#include "ktutil.h"

namespace {

LPVOID const kDeleted = reinterpret_cast<LPVOID>(~UINT_PTR{0});

struct HashSlot {
  DWORD key;
  LPVOID entry;  // 0 = empty, all ones = deleted
};

bool IsLive(const HashSlot &slot) {
  return slot.entry != nullptr && slot.entry != kDeleted;
}

}  // namespace

struct KtHashTable {
  kt::SlotArray<HashSlot> table;
  LPVOID context;
  HASHKEYPROC keyFunction;
  HASHKEYPROC collisionFunction;
};

namespace {

// Stores entry (whose own key is key) at the first free slot of the probe
// path. A live entry with the current key sends the search, through the
// collision function, to the key it returns. A collision function that keeps
// colliding gives up after as many restarts as there are slots.
bool Place(KtHashTable *hash, LPVOID entry, DWORD key, DWORD probeLimit) {
  kt::SlotArray<HashSlot> &t = hash->table;
  DWORD current = key;
  for (DWORD restarts = 0; restarts <= t.capacity; ++restarts) {
    bool collided = false;
    for (DWORD i = 0; i < probeLimit; ++i) {
      HashSlot &slot = t.Probe(current, i);
      if (!IsLive(slot)) {
        slot.key = key;
        slot.entry = entry;
        ++t.count;
        return true;
      }
      if (hash->collisionFunction != nullptr && slot.key == current) {
        current = hash->collisionFunction(slot.entry, hash->context);
        collided = true;
        break;
      }
    }
    if (!collided) return false;
  }
  return false;
}

void Grow(KtHashTable *hash) {
  hash->table.Grow(IsLive, [hash](const HashSlot &old) {
    // The grown table has room for every entry; only a collision function
    // that never settles can fail here, and the entry must not be lost.
    if (!Place(hash, old.entry, old.key, hash->table.capacity)) {
      kt::SlotArray<HashSlot> &t = hash->table;
      for (DWORD i = 0;; ++i) {
        HashSlot &slot = t.Probe(old.key, i);
        if (!IsLive(slot)) {
          slot = old;
          ++t.count;
          return;
        }
      }
    }
  });
}

}  // namespace

extern "C" HHASHTABLE KTAPI HashCreate(DWORD sizeHint, HASHKEYPROC keyFunction,
                                       HASHKEYPROC collisionFunction, LPVOID context) {
  if (keyFunction == nullptr) return nullptr;
  KtHashTable *hash = kt::NewTable<KtHashTable>(sizeHint);
  if (hash == nullptr) return nullptr;
  hash->context = context;
  hash->keyFunction = keyFunction;
  hash->collisionFunction = collisionFunction;
  return hash;
}

extern "C" void KTAPI HashDestroy(HHASHTABLE hash) {
  if (hash != nullptr) kt::DeleteTable(hash);
}

extern "C" BOOL KTAPI HashAddEntry(HHASHTABLE hash, LPVOID entry) {
  if (hash == nullptr || entry == nullptr || entry == kDeleted) return FALSE;
  DWORD key = hash->keyFunction(entry, hash->context);
  DWORD probeLimit = hash->table.capacity;
  if (hash->table.Crowded()) Grow(hash);
  return Place(hash, entry, key, probeLimit) ? TRUE : FALSE;
}

namespace {
bool IsEmpty(const HashSlot &slot) { return slot.entry == nullptr; }
}  // namespace

extern "C" BOOL KTAPI HashClrEntry(HHASHTABLE hash, LPVOID entry) {
  if (hash == nullptr || entry == nullptr || entry == kDeleted) return FALSE;
  HashSlot *slot =
      hash->table.Search(hash->keyFunction(entry, hash->context), IsEmpty,
                         [entry](const HashSlot &s) { return s.entry == entry; });
  if (slot == nullptr) return FALSE;
  slot->entry = kDeleted;
  --hash->table.count;
  return TRUE;
}

extern "C" BOOL KTAPI HashClrAll(HHASHTABLE hash) {
  if (hash == nullptr) return FALSE;
  hash->table.Clear();
  return TRUE;
}

extern "C" LPVOID KTAPI HashFindEntry(HHASHTABLE hash, DWORD key) {
  if (hash == nullptr) return nullptr;
  HashSlot *slot = hash->table.Search(key, IsEmpty, [key](const HashSlot &s) {
    return s.key == key && s.entry != kDeleted;
  });
  return slot == nullptr ? nullptr : slot->entry;
}

extern "C" DWORD KTAPI HashEnumEntries(HHASHTABLE hash, HASHENUMPROC callback) {
  if (hash == nullptr) return 0;
  kt::SlotArray<HashSlot> &t = hash->table;
  DWORD visited = 0;
  for (DWORD i = 0; i < t.capacity; ++i) {
    if (!IsLive(t.slots[i])) continue;
    ++visited;
    if (callback != nullptr && !callback(t.slots[i].entry, hash->context)) break;
  }
  return visited;
}
