// Scrambled registry texts: a fixed permutation of 1..127 and its inverse.
#include "config/scramble.h"

namespace kt {
namespace {

// Entry c - 1 replaces byte value c. Never change a value: stored texts of
// every installation depend on it. No value maps to itself.
constexpr unsigned char kTable[127] = {
    117, 54,  51,  67,  39,  2,  53,  95,  26,  121, 86,  37, 100, 61,  122, 87,
    109, 11,  101, 73,  60,  74, 14,  9,   23,  106, 102, 42, 113, 105, 77,  125,
    45,  69,  84,  46,  103, 36, 107, 110, 30,  49,  62,  97, 123, 20,  34,  78,
    91,  70,  88,  3,   48,  17, 114, 81,  68,  27,  4,   33, 63,  127, 93,  52,
    32,  15,  75,  6,   79,  24, 119, 80,  98,  21,  71,  31, 72,  55,  120, 13,
    92,  64,  118, 82,  83,  16, 43,  40,  116, 41,  96,  22, 94,  35,  90,  56,
    76,  10,  38,  59,  104, 12, 58,  65,  111, 85,  47,  28, 18,  25,  89,  8,
    124, 126, 5,   115, 108, 7,  1,   50,  66,  112, 19,  57, 29,  44,  99,
};

struct Inverse {
  unsigned char entry[127] = {};
  constexpr Inverse() {
    for (int c = 1; c <= 127; ++c)
      entry[kTable[c - 1] - 1] = static_cast<unsigned char>(c);
  }
};
constexpr Inverse kInverse;

constexpr bool IsPermutation() {
  for (int c = 1; c <= 127; ++c) {
    int v = kTable[c - 1];
    if (v < 1 || v > 127 || kInverse.entry[v - 1] != c) return false;
  }
  return true;
}
static_assert(IsPermutation(), "the scrambling table must be a permutation of 1..127");

}  // namespace

unsigned char ScrambleByte(unsigned char c) {
  return (c >= 1 && c <= 127) ? kTable[c - 1] : c;
}

unsigned char UnscrambleByte(unsigned char c) {
  return (c >= 1 && c <= 127) ? kInverse.entry[c - 1] : c;
}

void ScrambleText(const char *text, char *dest) {
  if (text != nullptr && *text != '\0') {
    *dest++ = kScrambleMarker;
    for (; *text != '\0'; ++text)
      *dest++ = static_cast<char>(ScrambleByte(static_cast<unsigned char>(*text)));
  }
  *dest = '\0';
}

void UnscrambleText(const char *stored, size_t size, char *dest) {
  if (size == 0) return;
  bool scrambled = stored[0] == kScrambleMarker;
  size_t in = scrambled ? 1 : 0, out = 0;
  // Both stop one byte short of size, so the terminator always fits.
  for (; in < size && stored[in] != '\0' && out + 1 < size; ++in, ++out) {
    unsigned char c = static_cast<unsigned char>(stored[in]);
    dest[out] = static_cast<char>(scrambled ? UnscrambleByte(c) : c);
  }
  dest[out] = '\0';
}

}  // namespace kt
