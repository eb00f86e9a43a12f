// Small facts about the machine.
#include "ktutil.h"
#include "lifecycle.h"

extern "C" DWORD KTAPI GetProcessorCount(void) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors;
}

extern "C" DWORD KTAPI IsWinNT(void) { return kt::NtFlag(); }

extern "C" DWORD KTAPI IsWin2K(void) { return kt::Nt5Flag(); }
