// The open-addressing slot array shared by the hash table, the map and the
// multimap: one rule for sizing, growth and clearing.
#pragma once

#include <cstring>
#include <new>

#include "containers/container_alloc.h"
#include "ktutil.h"

namespace kt {

// Probing is linear from a key's home slot: the i-th probe looks at
// (key + i) AND mask, for at most capacity probes.
template <typename Slot>
struct SlotArray {
  DWORD capacity;
  DWORD mask;
  DWORD count;
  Slot *slots;

  // Twice the hint; hints below 16, and hints whose double does not fit in
  // 32 bits, are refused.
  bool Init(DWORD sizeHint) {
    if (sizeHint < 16 || sizeHint > 0x7FFFFFFFu) return false;
    slots = static_cast<Slot *>(ContainerAlloc(size_t{sizeHint} * 2, sizeof(Slot)));
    if (slots == nullptr) return false;
    capacity = sizeHint * 2;
    mask = capacity - 1;
    count = 0;
    return true;
  }

  // More than half full: the add that sees it grows first.
  bool Crowded() const { return count > capacity / 2; }

  Slot &Probe(DWORD key, DWORD i) { return slots[(key + i) & mask]; }

  // Doubles the array (count restarts at 0) and hands every old slot for
  // which live(slot) holds to reinsert(slot), in old slot order. When the
  // capacity cannot double or the allocation fails the array is unchanged.
  template <typename Live, typename Reinsert>
  bool Grow(Live live, Reinsert reinsert) {
    if (capacity > 0x7FFFFFFFu) return false;
    Slot *grown = static_cast<Slot *>(ContainerAlloc(size_t{capacity} * 2, sizeof(Slot)));
    if (grown == nullptr) return false;
    Slot *old = slots;
    DWORD oldCapacity = capacity;
    slots = grown;
    capacity *= 2;
    mask = capacity - 1;
    count = 0;
    for (DWORD i = 0; i < oldCapacity; ++i)
      if (live(old[i])) reinsert(old[i]);
    ContainerFree(old);
    return true;
  }

  // The first slot on key's probe path, from probe number first on, that
  // match accepts, or null when an empty slot or capacity probes come first.
  template <typename Empty, typename Match>
  Slot *Search(DWORD key, Empty empty, Match match, DWORD first = 0) {
    for (DWORD i = first; i < capacity; ++i) {
      Slot &slot = slots[(key + i) & mask];
      if (empty(slot)) return nullptr;
      if (match(slot)) return &slot;
    }
    return nullptr;
  }

  void Clear() {
    std::memset(static_cast<void *>(slots), 0, size_t{capacity} * sizeof(Slot));
    count = 0;
  }

  void Release() {
    ContainerFree(slots);
    slots = nullptr;
  }
};

// Handles are allocated through the replaceable allocator too, so that a
// failing allocator makes creation fail cleanly.
template <typename T>
T *NewHandle() {
  void *block = ContainerAlloc(1, sizeof(T));
  return block == nullptr ? nullptr : new (block) T();
}

template <typename T>
void DeleteHandle(T *handle) {
  handle->~T();
  ContainerFree(handle);
}

// A container handle (whose slots are its member table) with its slots, or
// null.
template <typename T>
T *NewTable(DWORD sizeHint) {
  T *handle = NewHandle<T>();
  if (handle != nullptr && !handle->table.Init(sizeHint)) {
    DeleteHandle(handle);
    return nullptr;
  }
  return handle;
}

template <typename T>
void DeleteTable(T *handle) {
  handle->table.Release();
  DeleteHandle(handle);
}

}  // namespace kt
