// Universal and local time by the base's offset, and tick counts as times.
#include "base.h"

namespace {

BOOL ShiftedSystemTime(DateTime dt, SYSTEMTIME *st, LONG seconds) {
  if (dt == 0 || dt == 0xFFFFFFFFu) return FALSE;
  SYSTEMTIME t;
  DateTimeToSystemTime(dt, &t);
  SystemTimeAddSeconds(&t, seconds);
  if (st != nullptr) *st = t;
  return TRUE;
}

DateTime Shifted(DateTime dt, LONG seconds) {
  SYSTEMTIME t;
  // "No date" stays "no date".
  return ShiftedSystemTime(dt, &t, seconds) ? SystemTimeToDateTime(&t) : dt;
}

}  // namespace

extern "C" BOOL KTAPI DateTimeToLocalTime(DateTime dt, SYSTEMTIME *st) {
  return ShiftedSystemTime(dt, st, kt::DtBase().localOffset);
}

extern "C" BOOL KTAPI LocalTimeToUniversalTime(DateTime dt, SYSTEMTIME *st) {
  return ShiftedSystemTime(dt, st, -kt::DtBase().localOffset);
}

extern "C" DateTime KTAPI LocalTime(DateTime dt) {
  return Shifted(dt, kt::DtBase().localOffset);
}

extern "C" DateTime KTAPI UniversalTime(DateTime dt) {
  return Shifted(dt, -kt::DtBase().localOffset);
}

extern "C" void KTAPI TicksToSystemTime(DWORD ticks, SYSTEMTIME *st) {
  if (st == nullptr) return;
  GetSystemTime(st);
  DWORD now = GetTickCount();
  // The modular difference absorbs a wrap of the counter between the two.
  if (ticks != now) SystemTimeAddMilliSeconds(st, static_cast<int>(ticks - now));
}

extern "C" void KTAPI TicksToLocalTime(DWORD ticks, SYSTEMTIME *st) {
  if (st == nullptr) return;
  TicksToSystemTime(ticks, st);
  SystemTimeAddSeconds(st, kt::DtBase().localOffset);
}

extern "C" DateTime KTAPI TicksToDateTime(DWORD ticks) {
  SYSTEMTIME st;
  TicksToSystemTime(ticks, &st);
  return SystemTimeToDateTime(&st);
}
