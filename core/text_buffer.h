// Growing and releasing the library's TextBuffer, for every subsystem that
// hands text back in one.
#pragma once

#include "ktutil.h"

namespace kt {

// Grows the storage to exactly size bytes when it is smaller (no doubling:
// callers mostly append once). On failure nothing changes.
bool TextReserve(TextBuffer *text, DWORD size);
// Appends count bytes and a terminator; false, with nothing appended, when
// the storage cannot grow.
bool TextAppend(TextBuffer *text, const void *bytes, DWORD count);
bool TextAppend(TextBuffer *text, const char *zeroTerminated);
// Frees the storage and sets every field to 0.
void TextClear(TextBuffer *text);
// The text, or "" while there is no storage.
const char *TextOf(const TextBuffer *text);

}  // namespace kt
