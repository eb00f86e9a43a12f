// Open-addressing table of caller entries keyed by the caller's key function.
//
// Each slot keeps the entry's key beside the pointer, taken from the key
// function when the entry is stored. Lookups compare that copy instead of
// calling back into the caller's record for every entry on the probe path:
// one cache line per probe instead of one per entry. Entries must not change
// their key while stored, which the table already relies on to find them.
#include "containers/word_slots.h"
#include "ktutil.h"

struct KtHashTable {
  kt::WordSlots table;
  LPVOID context;
  HASHKEYPROC keyFunction;
  HASHKEYPROC collisionFunction;
};

namespace {

UINT_PTR Word(LPVOID entry) { return reinterpret_cast<UINT_PTR>(entry); }
LPVOID Entry(UINT_PTR word) { return reinterpret_cast<LPVOID>(word); }

// A live entry with the key being placed sends the new entry on to the key
// the collision function gives for the entry already there.
auto CollideThrough(KtHashTable *hash) {
  return [hash](UINT_PTR existing, DWORD &current) {
    if (hash->collisionFunction == nullptr) return false;
    current = hash->collisionFunction(Entry(existing), hash->context);
    return true;
  };
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
  if (hash == nullptr || entry == nullptr || Word(entry) == kt::WordSlots::kDeleted)
    return FALSE;
  kt::WordSlots &t = hash->table;
  DWORD key = hash->keyFunction(entry, hash->context);
  DWORD probeLimit = t.Capacity();
  if (t.Crowded()) t.Grow(CollideThrough(hash));
  return t.Place(key, Word(entry), probeLimit, CollideThrough(hash)) ? TRUE : FALSE;
}

extern "C" BOOL KTAPI HashClrEntry(HHASHTABLE hash, LPVOID entry) {
  if (hash == nullptr || entry == nullptr || Word(entry) == kt::WordSlots::kDeleted)
    return FALSE;
  DWORD slot = hash->table.FindWord(hash->keyFunction(entry, hash->context), Word(entry));
  if (slot == kt::WordSlots::kNone) return FALSE;
  hash->table.Remove(slot);
  return TRUE;
}

extern "C" BOOL KTAPI HashClrAll(HHASHTABLE hash) {
  if (hash == nullptr) return FALSE;
  hash->table.Clear();
  return TRUE;
}

extern "C" LPVOID KTAPI HashFindEntry(HHASHTABLE hash, DWORD key) {
  return hash == nullptr ? nullptr : Entry(hash->table.Find(key));
}

extern "C" DWORD KTAPI HashEnumEntries(HHASHTABLE hash, HASHENUMPROC callback) {
  if (hash == nullptr) return 0;
  kt::WordSlots &t = hash->table;
  DWORD visited = 0;
  for (DWORD i = 0; i < t.Capacity(); ++i) {
    if (!t.LiveAt(i)) continue;
    ++visited;
    if (callback != nullptr && !callback(Entry(t.WordAt(i)), hash->context)) break;
  }
  return visited;
}
