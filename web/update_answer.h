// The update server's answer: lines of key=value text. Portable.
#pragma once

#include <stddef.h>

namespace kt {

// Finds the first line that starts with key exactly (case counts), then
// only spaces or tabs, then "=". Copies what follows the "=" up to the
// line's end (CR, LF or the end of text), cut to room - 1 characters, and
// terminates it. Lines end at LF; the text ends at its first NUL. False,
// with dest untouched, when no line matches or room is 0.
bool FindAnswerValue(const char *answer, const char *key, char *dest, size_t room);

}  // namespace kt
