// The optional signature-verification entry, bound while the library is
// attached.
#pragma once

#include <windows.h>

namespace kt {

using VerifyTrustProc = LONG(WINAPI *)(HWND, GUID *, LPVOID);

// NULL when no trust-verification library with that entry could be loaded.
VerifyTrustProc TrustEntry();

}  // namespace kt
