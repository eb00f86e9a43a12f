// Process-wide values set when the library loads, read by every subsystem.
#pragma once

#include <windows.h>

namespace kt {

// The library's own instance: resources and window classes.
HINSTANCE ModuleHandle();
// A device context for the whole screen, or NULL; for measuring text
// without a window.
HDC ScreenDC();
// Platform flags fixed before the first attach step.
DWORD NtFlag();
DWORD Nt5Flag();
// Created before the first attach step, deleted after the last detach.
CRITICAL_SECTION *DelayedMessageLock();
// Loads are counted; the count is not exported.
DWORD AttachCount();

void Attach(HINSTANCE module);
void Detach();

}  // namespace kt
