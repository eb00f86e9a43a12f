// Bounded formatting shared by every subsystem that writes text.
#pragma once

#include <stdarg.h>

namespace kt {

// Formats with the C run-time's bounded formatter, always terminates when
// size is not 0, and returns the count written, or size - 1 when the text
// was cut (-1 for size 0).
int BoundedFormat(char *dest, int size, const char *format, va_list args);

}  // namespace kt
