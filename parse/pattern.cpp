// Wildcard matching: "*" takes any run of characters, "?" exactly one, and
// the text is compared in upper case.
//
// The answer is that of matching by backtracking, which can take
// exponential time; here the pattern is cut at its stars into segments and
// each segment is placed at its leftmost fit after the previous one, which
// leaves the most text to the rest: one pass over the text for patterns
// whose segments are at most 64 characters long.
#include <cstdint>
#include <cstring>

#include "ktutil.h"

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

// Upper case of every byte: the platform's conversion for the ANSI code
// page on Windows, a-z only elsewhere.
struct UpperTable {
  unsigned char map[256];
  UpperTable() {
    for (int i = 0; i < 256; ++i) map[i] = static_cast<unsigned char>(i);
#ifdef _WIN32
    CharUpperBuffA(reinterpret_cast<LPSTR>(map + 1), 255);
#else
    for (int c = 'a'; c <= 'z'; ++c) map[c] = static_cast<unsigned char>(c - 'a' + 'A');
#endif
  }
};

class UpperText {
 public:
  explicit UpperText(LPCSTR text)
      : text_(reinterpret_cast<const unsigned char *>(text)), length_(std::strlen(text)) {
    static const UpperTable table;
    upper_ = table.map;
  }
  size_t length() const { return length_; }
  unsigned char operator[](size_t i) const { return upper_[text_[i]]; }

 private:
  const unsigned char *text_;
  size_t length_;
  const unsigned char *upper_;
};

// A segment: pattern characters between stars.
struct Segment {
  const char *chars;
  size_t length;
  bool Meets(size_t i, unsigned char c) const {
    return chars[i] == '?' || static_cast<unsigned char>(chars[i]) == c;
  }
  bool MatchesAt(const UpperText &text, size_t at) const {
    for (size_t i = 0; i < length; ++i)
      if (!Meets(i, text[at + i])) return false;
    return true;
  }
  bool MatchesEnd(const UpperText &text, size_t from) const {
    return length <= text.length() - from && MatchesAt(text, text.length() - length);
  }
};

// Leftmost place at or after from where the segment fits, or kNone. Short
// segments are compared directly; up to 64 characters they run as a
// bit-parallel automaton, one step per text character.
size_t FindLeftmost(const Segment &seg, const UpperText &text, size_t from) {
  if (seg.length > text.length() - from) return kNone;
  size_t last = text.length() - seg.length;
  if (seg.length <= 8 || seg.length > 64) {
    for (size_t at = from; at <= last; ++at)
      if (seg.MatchesAt(text, at)) return at;
    return kNone;
  }
  uint64_t masks[256];
  uint64_t anyChar = 0;
  for (size_t i = 0; i < seg.length; ++i)
    if (seg.chars[i] == '?') anyChar |= uint64_t{1} << i;
  for (uint64_t &m : masks) m = anyChar;
  for (size_t i = 0; i < seg.length; ++i)
    masks[static_cast<unsigned char>(seg.chars[i])] |= uint64_t{1} << i;
  const uint64_t full = uint64_t{1} << (seg.length - 1);
  uint64_t state = 0;
  for (size_t j = from; j < text.length(); ++j) {
    state = ((state << 1) | 1) & masks[text[j]];
    if (state & full) return j + 1 - seg.length;
  }
  return kNone;
}

Segment NextSegment(const char *pattern) {
  return Segment{pattern, std::strcspn(pattern, "*")};
}

}  // namespace

extern "C" BOOL KTAPI MatchWithPattern(LPCSTR pattern, LPCSTR text) {
  if (pattern == nullptr || text == nullptr || *pattern == '\0') return FALSE;
  const UpperText upper(text);
  Segment seg = NextSegment(pattern);
  if (pattern[seg.length] == '\0')
    return seg.length == upper.length() && seg.MatchesAt(upper, 0);
  if (seg.length > upper.length() || !seg.MatchesAt(upper, 0)) return FALSE;
  // Text used up right before a star is a match, whatever follows the star.
  size_t end = seg.length;
  if (end == upper.length()) return TRUE;
  for (const char *p = pattern + seg.length;;) {
    while (*p == '*') ++p;
    if (*p == '\0') return TRUE;  // a final star takes the rest
    seg = NextSegment(p);
    p += seg.length;
    // Fitting at the very end uses the text up: a match before the next
    // star, and the only way to match the final segment.
    if (seg.MatchesEnd(upper, end)) return TRUE;
    if (*p == '\0') return FALSE;
    size_t at = FindLeftmost(seg, upper, end);
    if (at == kNone) return FALSE;
    end = at + seg.length;
  }
}
