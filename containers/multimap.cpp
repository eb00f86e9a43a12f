// Thread-safe map from a 32-bit key to a list of values, newest first. Each
// key holds one slot; the multimap owns the list nodes, not the values.
#include <mutex>

#include "containers/slot_array.h"
#include "ktutil.h"

namespace {

struct Node {
  Node *next;
  UINT_PTR value;
};

Node *const kDeleted = reinterpret_cast<Node *>(~UINT_PTR{0});

struct MultiSlot {
  DWORD key;
  Node *head;  // null = empty, all ones = deleted
};

bool IsLive(const MultiSlot &slot) {
  return slot.head != nullptr && slot.head != kDeleted;
}

}  // namespace

struct KtMultiMap {
  kt::SlotArray<MultiSlot> table;
  // Recursive: an enumeration callback may call back into the same multimap.
  std::recursive_mutex lock;
};

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

// The key's slot, or null. Deleted slots are passed over, an empty one ends
// the search.
MultiSlot *FindSlot(kt::SlotArray<MultiSlot> &t, DWORD key) {
  return t.Search(
      key, [](const MultiSlot &s) { return s.head == nullptr; },
      [key](const MultiSlot &s) { return s.head != kDeleted && s.key == key; });
}

// The key's own slot when it is on the path, else the first free one. Taking
// a deleted slot that stands before the key's slot would split the key's
// values over two slots, and the second would never be enumerated.
MultiSlot *SlotForAdd(kt::SlotArray<MultiSlot> &t, DWORD key, DWORD probeLimit) {
  MultiSlot *firstFree = nullptr;
  for (DWORD i = 0; i < probeLimit; ++i) {
    MultiSlot &slot = t.Probe(key, i);
    if (slot.head == nullptr) return firstFree != nullptr ? firstFree : &slot;
    if (slot.head == kDeleted) {
      if (firstFree == nullptr) firstFree = &slot;
    } else if (slot.key == key) {
      return &slot;
    }
  }
  return firstFree;
}

void FreeList(kt::SlotArray<MultiSlot> &t, MultiSlot &slot) {
  for (Node *node = slot.head; node != nullptr;) {
    Node *next = node->next;
    kt::ContainerFree(node);
    --t.count;
    node = next;
  }
  slot.key = 0;
  slot.head = kDeleted;
}

void ClearAll(kt::SlotArray<MultiSlot> &t) {
  for (DWORD i = 0; i < t.capacity; ++i)
    if (IsLive(t.slots[i])) FreeList(t, t.slots[i]);
  t.Clear();
}

}  // namespace

extern "C" HMULTIMAP KTAPI MultiMapCreate(DWORD sizeHint) {
  return kt::NewTable<KtMultiMap>(sizeHint);
}

extern "C" void KTAPI MultiMapDestroy(HMULTIMAP multi) {
  if (multi == nullptr) return;
  {
    Guard guard(multi->lock);
    ClearAll(multi->table);
  }
  kt::DeleteTable(multi);
}

extern "C" BOOL KTAPI MultiMapAddEntry(HMULTIMAP multi, DWORD key, UINT_PTR value) {
  if (multi == nullptr) return FALSE;
  Guard guard(multi->lock);
  kt::SlotArray<MultiSlot> &t = multi->table;
  DWORD probeLimit = t.capacity;
  if (t.Crowded()) {
    DWORD values = t.count;
    t.Grow(IsLive, [&t](const MultiSlot &old) {
      for (DWORD i = 0;; ++i) {
        MultiSlot &slot = t.Probe(old.key, i);
        if (slot.head == nullptr) {
          slot = old;
          return;
        }
      }
    });
    t.count = values;
  }
  MultiSlot *slot = SlotForAdd(t, key, probeLimit);
  if (slot == nullptr) return FALSE;
  Node *node = static_cast<Node *>(kt::ContainerAlloc(1, sizeof(Node)));
  if (node == nullptr) return FALSE;
  node->value = value;
  node->next = IsLive(*slot) ? slot->head : nullptr;
  slot->key = key;
  slot->head = node;
  ++t.count;
  return TRUE;
}

extern "C" BOOL KTAPI MultiMapClrEntry(HMULTIMAP multi, DWORD key) {
  if (multi == nullptr) return FALSE;
  Guard guard(multi->lock);
  MultiSlot *slot = FindSlot(multi->table, key);
  if (slot == nullptr) return FALSE;
  FreeList(multi->table, *slot);
  return TRUE;
}

extern "C" BOOL KTAPI MultiMapClrAll(HMULTIMAP multi) {
  if (multi == nullptr) return FALSE;
  Guard guard(multi->lock);
  ClearAll(multi->table);
  return TRUE;
}

extern "C" BOOL KTAPI MultiMapEnumEntries(HMULTIMAP multi, DWORD key,
                                          MULTIMAPENUMPROC callback, LPVOID context) {
  if (multi == nullptr) return FALSE;
  Guard guard(multi->lock);
  MultiSlot *slot = FindSlot(multi->table, key);
  if (slot == nullptr) return TRUE;
  // The next node is read before each call: a callback may drop its own
  // value from the caller's records, or grow the slot array with other keys.
  for (Node *node = slot->head; node != nullptr;) {
    Node *next = node->next;
    if (callback != nullptr && !callback(key, node->value, context)) return FALSE;
    node = next;
  }
  return TRUE;
}
