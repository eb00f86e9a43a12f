// The substitution that makes stored registry texts illegible at a glance.
// Platform-free: the table is fixed forever, since texts stored by one
// version must read back in every later one.
#pragma once

#include <stddef.h>

namespace kt {

// A scrambled text starts with this marker; a text without it is plain.
constexpr char kScrambleMarker = '~';

// Byte values 1 to 127 go through the table; 0 and 128 to 255 stay.
unsigned char ScrambleByte(unsigned char c);
unsigned char UnscrambleByte(unsigned char c);

// Room the scrambled form of a text of length characters needs.
inline size_t ScrambledSize(size_t length) { return length + 2; }
// Writes the marker and the scrambled text, or the empty text for an empty
// text; dest must have ScrambledSize(strlen(text)) bytes.
void ScrambleText(const char *text, char *dest);
// Reads a stored text of at most size bytes (terminated or not) and writes
// its plain form, terminated, into dest of the same size. Plain texts are
// copied as they are.
void UnscrambleText(const char *stored, size_t size, char *dest);

}  // namespace kt
