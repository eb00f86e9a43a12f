// Security identifiers as text ("S-1-5-21-...").
#pragma once

#include <windows.h>

namespace kt {

// Writes the identifier's text into text, whose size in characters *size
// gives. FALSE for an invalid identifier; FALSE with the needed size stored
// back and ERROR_INSUFFICIENT_BUFFER as the last error when it is short.
BOOL SidToText(PSID sid, LPSTR text, DWORD *size);

}  // namespace kt
