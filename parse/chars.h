// Character classes of the parsers. ASCII only: the texts are ANSI in
// whatever code page, and bytes above 127 are never letters or digits here.
#pragma once

namespace kt {

inline bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }
inline bool IsLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline unsigned char ToLower(unsigned char c) { return IsLetter(c) ? c | 0x20 : c; }

// The value of a hexadecimal digit, or -1.
inline int HexValue(unsigned char c) {
  if (IsDigit(c)) return c - '0';
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') return (c | 0x20) - 'a' + 10;
  return -1;
}

}  // namespace kt
