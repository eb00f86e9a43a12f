// Single registry values on a key the caller has already opened; the
// exported one-call functions and other subsystems build on these.
#pragma once

#include <windows.h>

namespace kt {

// WriteRegString's length meaning "the text's own length plus terminator".
constexpr DWORD kWholeText = 0xFFFFFFFFu;

// Reads a text into buffer (size bytes, terminator counted), whatever the
// stored type. FALSE when the value is missing or does not fit with its
// terminator; a stored text without terminator is terminated here.
BOOL ReadRegString(HKEY key, const char *value, char *buffer, DWORD size);
// Writes text as REG_SZ of length bytes; TRUE when the write succeeded.
BOOL WriteRegString(HKEY key, const char *value, const char *text,
                    DWORD length = kWholeText);
// Up to 4 bytes of the value (a shorter one gives its bytes, the rest 0),
// or defaultValue when it is missing or longer.
DWORD ReadRegDword(HKEY key, const char *value, DWORD defaultValue);
BOOL WriteRegDword(HKEY key, const char *value, DWORD number);

}  // namespace kt
