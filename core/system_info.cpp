// Small facts about the machine.
#include "ktutil.h"

extern "C" DWORD KTAPI GetProcessorCount(void) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors;
}
