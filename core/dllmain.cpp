// The library's entry point and its static initialisers.
//
// The C run-time's DLL entry runs the initialisers of this file in the order
// they are written, before DllMain sees the first attach, and runs their
// exit routines after DllMain's detach. Everything that must exist before
// the first exported call lives here, in that order.
#include <windows.h>

#include "lifecycle.h"
#include "web/request_head_buffer.h"

namespace kt {
namespace {

// The HTTP client's request head buffer: reserved first, released at exit.
RequestHeadBuffer g_requestHead;

// The packed version word: top bit set on the 95/98/ME family, major
// version in the low byte.
const DWORD g_version = GetVersion();
const DWORD g_ntFlag = (g_version & 0x80000000u) == 0 ? 1 : 0;
const DWORD g_nt5Flag = (g_ntFlag != 0 && LOBYTE(LOWORD(g_version)) >= 5) ? 1 : 0;

// Guards the delayed-message slots. Its destructor runs among the exit
// routines, after the last detach step, so no export ever sees it gone.
struct CriticalSection {
  CRITICAL_SECTION section;
  CriticalSection() { InitializeCriticalSection(&section); }
  ~CriticalSection() { DeleteCriticalSection(&section); }
};
CriticalSection g_delayedMessageLock;

}  // namespace

RequestHeadBuffer &SharedRequestHead() { return g_requestHead; }
DWORD NtFlag() { return g_ntFlag; }
DWORD Nt5Flag() { return g_nt5Flag; }
CRITICAL_SECTION *DelayedMessageLock() { return &g_delayedMessageLock.section; }

}  // namespace kt

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  // Thread attach and detach have nothing to do; the load never fails.
  if (reason == DLL_PROCESS_ATTACH) {
    kt::Attach(module);
  } else if (reason == DLL_PROCESS_DETACH) {
    kt::Detach();
  }
  return TRUE;
}
