// The first four slots of a probe path read at once, for 8-byte slots of a
// 32-bit key beside a 32-bit word (0 marks an empty slot, all ones a deleted
// one).
//
// Most lookups end within those four. Choosing among them without a branch
// per slot is what pays: a quarter of the hits are not in their home slot,
// and each branch guessed wrong there throws away the lookups the processor
// had already started behind it.
#pragma once

#include "ktutil.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define KT_PROBE_WINDOW 1
#endif

namespace kt {

#ifdef KT_PROBE_WINDOW
constexpr DWORD kProbeWindow = 4;

// Bit i is set when slot i from first ends the search for key: it is empty,
// or live and holds key.
template <typename Slot>
unsigned ProbeWindowStops(const Slot *first, DWORD key) {
  static_assert(sizeof(Slot) == 8, "a 32-bit key, then a 32-bit word");
  const auto load = [](const Slot *two) {
    return _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i *>(two)));
  };
  const __m128 a = load(first), b = load(first + 2);
  const __m128i keys = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
  const __m128i words = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
  const __m128i zero = _mm_setzero_si128();
  const __m128i empty = _mm_cmpeq_epi32(words, zero);
  const __m128i deleted = _mm_cmpeq_epi32(words, _mm_cmpeq_epi32(zero, zero));
  const __m128i withKey =
      _mm_andnot_si128(deleted, _mm_cmpeq_epi32(keys, _mm_set1_epi32(static_cast<int>(key))));
  return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_or_si128(withKey, empty))));
}
#endif

}  // namespace kt
