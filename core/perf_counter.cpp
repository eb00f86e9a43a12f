// Performance counters: caller-owned records timing repeated events with
// the high-resolution counter.
#include <string.h>

#include "format.h"
#include "ktutil.h"

static_assert(sizeof(PerfCounter) == 32, "eight 32-bit words, start first");

namespace {

bool ReadCounter(ULONGLONG *value) {
  LARGE_INTEGER now;
  if (!QueryPerformanceCounter(&now)) return false;
  *value = static_cast<ULONGLONG>(now.QuadPart);
  return true;
}

void PrintSummary(const PerfCounter &counter, const char *name, DWORD duration) {
  // A name too long for the line is cut with it.
  char line[256];
  wsnprintf(line, sizeof line, "%s: t=%lu n=%lu mean=%lu max=%lu (freq=%lu)\n", name,
            static_cast<unsigned long>(duration),
            static_cast<unsigned long>(counter.count),
            static_cast<unsigned long>(counter.total / counter.count),
            static_cast<unsigned long>(counter.maximum),
            static_cast<unsigned long>(counter.frequency));
  OutputDebugStringA(line);
}

}  // namespace

extern "C" BOOL KTAPI PS_Init(PerfCounter *counter) {
  if (counter == nullptr) return FALSE;
  memset(counter, 0, sizeof *counter);
  LARGE_INTEGER frequency;
  if (!QueryPerformanceFrequency(&frequency)) return FALSE;
  // Durations are kept in 32 bits of ticks: a faster counter is not usable.
  ULONGLONG ticks = static_cast<ULONGLONG>(frequency.QuadPart);
  if (ticks != 0 && (ticks >> 32) == 0) {
    counter->frequency = static_cast<DWORD>(ticks);
    counter->state |= PS_USABLE;
  }
  return (counter->state & PS_USABLE) != 0;
}

extern "C" BOOL KTAPI PS_EventStart(PerfCounter *counter) {
  if (counter == nullptr) return FALSE;
  counter->state &= ~(PS_OPEN | PS_MEASURED);
  if ((counter->state & PS_USABLE) && ReadCounter(&counter->start))
    counter->state |= PS_OPEN;
  return (counter->state & PS_OPEN) != 0;
}

extern "C" BOOL KTAPI PS_EventEnd(PerfCounter *counter, LPCSTR name) {
  if (counter == nullptr) return FALSE;
  counter->state &= ~PS_MEASURED;
  if (!(counter->state & PS_OPEN)) return FALSE;
  counter->state &= ~PS_OPEN;
  ULONGLONG now = 0;
  ULONGLONG duration = ReadCounter(&now) ? now - counter->start : ~0ull;
  // An event too long for 32 bits of ticks (or unreadable) is dropped.
  if ((duration >> 32) == 0) {
    DWORD ticks = static_cast<DWORD>(duration);
    ++counter->count;
    counter->total += ticks;
    counter->last = ticks;
    if (ticks > counter->maximum) counter->maximum = ticks;
    counter->state |= PS_MEASURED;
    if (name != nullptr) PrintSummary(*counter, name, ticks);
  }
  counter->start = 0;
  return (counter->state & PS_MEASURED) != 0;
}
