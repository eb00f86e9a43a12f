// Slots of a 32-bit key beside a pointer-sized word, where word 0 marks an
// empty slot and all ones a deleted one: the map's pairs, and the hash
// table's entries beside a copy of their keys.
//
// A 64-bit build keeps only each word's lower half while every live word
// shares one upper half and no lower half looks like a marker, as with small
// numbers or pointers into one heap. Slots are then 8 bytes, as on 32-bit
// builds, instead of 16: half the memory, and a lookup that leaves its home
// slot usually stays in the same cache line. The first word that does not
// fit widens every slot, for good.
#pragma once

#include "containers/probe_window.h"
#include "containers/slot_array.h"

namespace kt {

namespace word_slot {

// All ones of a slot's word type: the deleted marker.
template <typename W>
constexpr W Marker() {
  return ~W{0};
}

inline constexpr auto IsEmpty = [](const auto &s) { return s.word == 0; };
inline constexpr auto IsLive = [](const auto &s) {
  return s.word != 0 && s.word != Marker<decltype(s.word)>();
};

}  // namespace word_slot

class WordSlots {
 public:
  static constexpr UINT_PTR kDeleted = ~UINT_PTR{0};
  static constexpr DWORD kNone = ~DWORD{0};  // never an index: capacity < 2^32

 private:
  // Helpers first: the operations below return what they deduce from them.
  struct NarrowSlot {
    DWORD key;
    DWORD word;
  };
  struct WideSlot {
    DWORD key;
    UINT_PTR word;
  };
  static constexpr bool kCanWiden = sizeof(UINT_PTR) > sizeof(DWORD);

  template <typename S>
  static auto MatchKey(DWORD key) {
    return [key](const S &s) {
      return s.key == key && s.word != word_slot::Marker<decltype(s.word)>();
    };
  }

  template <typename S>
  static S *SlotWithKey(SlotArray<S> &t, DWORD key) {
    return t.Search(key, word_slot::IsEmpty, MatchKey<S>(key));
  }

  // Where the processor allows, the first four slots of the probe path are
  // read at once; the loop carries on from the fifth.
  UINT_PTR FindNarrow(DWORD key) {
    DWORD first = 0;
#ifdef KT_PROBE_WINDOW
    const DWORD home = key & narrow_.mask;
    if (home <= narrow_.capacity - kProbeWindow) {  // the window does not wrap around
      const NarrowSlot *window = narrow_.slots + home;
      const unsigned stops = ProbeWindowStops(window, key);
      if (stops != 0) return Decode(window[__builtin_ctz(stops)]);
      first = kProbeWindow;
    }
#endif
    const NarrowSlot *slot =
        narrow_.Search(key, word_slot::IsEmpty, MatchKey<NarrowSlot>(key), first);
    return slot == nullptr ? 0 : Decode(*slot);
  }

  template <typename S>
  static DWORD IndexOf(const SlotArray<S> &t, const S *slot) {
    return slot == nullptr ? kNone : static_cast<DWORD>(slot - t.slots);
  }

  // Widening releases the narrow slots, whose fields lookups read anyway.
  bool Wide() const { return kCanWiden && narrow_.slots == nullptr; }

  template <typename F>
  decltype(auto) Visit(F f) {
    return Wide() ? f(wide_) : f(narrow_);
  }

  static UINT_PTR Upper(UINT_PTR word) {
    if constexpr (kCanWiden) return word & ~UINT_PTR{0xFFFFFFFFu};
    return 0;
  }

  // Whether word can be kept narrow beside the live words already stored.
  bool Fits(UINT_PTR word) const {
    if (!kCanWiden) return true;
    const DWORD lower = static_cast<DWORD>(word);
    if (lower == 0 || lower == word_slot::Marker<DWORD>()) return false;
    return narrow_.count == 0 || Upper(word) == upper_;
  }

  UINT_PTR Decode(const WideSlot &s) const { return s.word; }
  UINT_PTR Decode(const NarrowSlot &s) const {
    if (s.word == 0) return 0;
    if (s.word == word_slot::Marker<DWORD>()) return kDeleted;
    return upper_ | s.word;
  }

  void Store(WideSlot &s, DWORD key, UINT_PTR word) {
    s.key = key;
    s.word = word;
  }
  void Store(NarrowSlot &s, DWORD key, UINT_PTR word) {
    if (narrow_.count == 0) upper_ = Upper(word);  // no live word reads it now
    s.key = key;
    s.word = static_cast<DWORD>(word);
  }

  template <typename S, typename Collide>
  bool PlaceIn(SlotArray<S> &t, DWORD key, UINT_PTR word, DWORD probeLimit,
               Collide collide) {
    DWORD current = key;
    for (DWORD restarts = 0; restarts <= t.capacity; ++restarts) {
      bool moved = false;
      for (DWORD i = 0; i < probeLimit && !moved; ++i) {
        S &slot = t.Probe(current, i);
        if (!word_slot::IsLive(slot)) {
          Store(slot, key, word);
          ++t.count;
          return true;
        }
        if (slot.key == current) moved = collide(Decode(slot), current);
      }
      if (!moved) return false;
    }
    return false;
  }

  // Copies every slot, in place, to wide slots of the same capacity.
  bool Widen() {
    SlotArray<WideSlot> wide;
    if (!wide.Init(narrow_.capacity / 2)) return false;
    for (DWORD i = 0; i < narrow_.capacity; ++i)
      wide.slots[i] = {narrow_.slots[i].key, Decode(narrow_.slots[i])};
    wide.count = narrow_.count;
    narrow_.Release();
    wide_ = wide;
    return true;
  }

 public:
  bool Init(DWORD sizeHint) { return narrow_.Init(sizeHint); }

  void Release() {
    narrow_.Release();
    wide_.Release();
  }

  DWORD Capacity() const { return Wide() ? wide_.capacity : narrow_.capacity; }
  DWORD Count() const { return Wide() ? wide_.count : narrow_.count; }
  bool Crowded() const { return Wide() ? wide_.Crowded() : narrow_.Crowded(); }

  // The word of the first live slot on key's probe path holding key, or 0.
  UINT_PTR Find(DWORD key) {
    if (!Wide()) return FindNarrow(key);
    const WideSlot *slot = SlotWithKey(wide_, key);
    return slot == nullptr ? 0 : slot->word;
  }

  // Index of the first live slot on key's probe path holding key, or kNone.
  DWORD FindKey(DWORD key) {
    return Visit([&](auto &t) { return IndexOf(t, SlotWithKey(t, key)); });
  }

  // Index of the first slot on key's probe path holding word, or kNone.
  DWORD FindWord(DWORD key, UINT_PTR word) {
    if (!Wide() && !Fits(word)) return kNone;  // no narrow slot can hold it
    return Visit([&](auto &t) {
      const auto stored = static_cast<decltype(t.slots->word)>(word);
      return IndexOf(t, t.Search(key, word_slot::IsEmpty,
                                 [stored](const auto &s) { return s.word == stored; }));
    });
  }

  bool LiveAt(DWORD i) {
    return Visit([i](auto &t) { return word_slot::IsLive(t.slots[i]); });
  }
  UINT_PTR WordAt(DWORD i) {
    return Visit([&](auto &t) { return Decode(t.slots[i]); });
  }

  // Marks slot i deleted; its key becomes 0.
  void Remove(DWORD i) {
    Visit([i](auto &t) {
      t.slots[i].key = 0;
      t.slots[i].word = word_slot::Marker<decltype(t.slots[i].word)>();
      --t.count;
    });
  }

  // Stores key and word in the first free slot of key's probe path, looking
  // at most probeLimit slots. A live slot holding the current key calls
  // collide(its word, current); when that returns true the search starts
  // again from the key it put in current. Restarts are bounded by the
  // capacity. False when no slot was found, or memory ran out widening.
  template <typename Collide>
  bool Place(DWORD key, UINT_PTR word, DWORD probeLimit, Collide collide) {
    if (!Wide() && !Fits(word) && !Widen()) return false;
    return Visit([&](auto &t) { return PlaceIn(t, key, word, probeLimit, collide); });
  }

  // Doubles the slots and places every live one again, in old slot order.
  // When memory runs out the slots stay as they are.
  template <typename Collide>
  void Grow(Collide collide) {
    Visit([&](auto &t) {
      t.Grow(word_slot::IsLive, [&](const auto &old) {
        // The doubled slots have room for every pair; only a collision
        // function that never settles can fail, and no pair may be lost.
        const UINT_PTR word = Decode(old);
        if (!PlaceIn(t, old.key, word, t.capacity, collide))
          PlaceIn(t, old.key, word, t.capacity, NoCollision);
      });
    });
  }

  void Clear() {
    Visit([](auto &t) { t.Clear(); });
  }

  static bool NoCollision(UINT_PTR, DWORD &) { return false; }

 private:
  SlotArray<NarrowSlot> narrow_{};
  UINT_PTR upper_ = 0;          // the upper half of every live narrow word
  SlotArray<WideSlot> wide_{};  // in use once the narrow slots are released
};

}  // namespace kt
