// Bounded copying and case-insensitive search: portable, no platform calls.
#include "ktutil.h"

namespace {

// Only a-z fold: the texts are ANSI in whatever code page, and upper-casing
// bytes above 127 would depend on it.
inline unsigned char FoldAscii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

}  // namespace

extern "C" LPSTR KTAPI strncpy0(LPSTR dest, LPCSTR src, int size) {
  if (dest == nullptr || size <= 0) return dest;
  int i = 0;
  if (src != nullptr) {
    for (; i < size - 1 && src[i] != '\0'; ++i) dest[i] = src[i];
  }
  dest[i] = '\0';
  return dest;
}

extern "C" LPSTR KTAPI stristr(LPCSTR text, LPCSTR pattern) {
  if (text == nullptr || *text == '\0') return nullptr;
  if (pattern == nullptr || *pattern == '\0') return const_cast<LPSTR>(text);
  for (LPCSTR start = text; *start != '\0'; ++start) {
    LPCSTR t = start;
    LPCSTR p = pattern;
    while (*p != '\0' && FoldAscii(static_cast<unsigned char>(*t)) ==
                             FoldAscii(static_cast<unsigned char>(*p))) {
      ++t;
      ++p;
    }
    if (*p == '\0') return const_cast<LPSTR>(start);
  }
  return nullptr;
}
