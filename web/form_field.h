// Form fields for a request body of type application/x-www-form-urlencoded,
// built up one field at a time in a TextBuffer. Portable.
#pragma once

#include "ktutil.h"

namespace kt {

// Appends name=value, preceded by "&" when the buffer already holds text.
// Letters and digits stay as they are, a space becomes "+", every other
// byte "%XX" in upper-case hexadecimal. A null or empty value appends
// nothing (and is no failure). False, with nothing appended, when the
// buffer cannot grow.
bool AppendFormField(TextBuffer *form, const char *name, const char *value);

}  // namespace kt
