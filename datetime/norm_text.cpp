// The locale-independent text form of a DateTime and its reader, and the
// split of a duration: no platform calls.
#include <cstdio>
#include <cstring>

#include "date_time.h"

extern "C" int KTAPI NormDateTimeToStr(DateTime dt, LPSTR dest, int size) {
  if (dest == nullptr || size <= 0) return -1;
  // Every field is bounded by its bit width: the text always fits here.
  char text[32];
  int n = std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d.%02d.%02d",
                        kt::DtYear(dt), kt::DtMonth(dt), kt::DtDay(dt), kt::DtHour(dt),
                        kt::DtMinute(dt), kt::DtSecond(dt));
  // The bounded formatter's rule: a cut text gives size - 1.
  if (n >= size) n = size - 1;
  std::memcpy(dest, text, static_cast<size_t>(n));
  dest[n] = '\0';
  return n;
}

extern "C" DateTime KTAPI NormStrToDateTime(LPCSTR text) {
  if (text == nullptr) return 0;
  // Fields the text does not give are 0, the year 1980: text without a date
  // reads as 0, no date, and a date alone as its midnight.
  int f[6] = {1980, 0, 0, 0, 0, 0};
  std::sscanf(text, "%d/%d/%d %d.%d.%d", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5]);
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(f[0]);
  st.wMonth = static_cast<WORD>(f[1]);
  st.wDay = static_cast<WORD>(f[2]);
  st.wHour = static_cast<WORD>(f[3]);
  st.wMinute = static_cast<WORD>(f[4]);
  st.wSecond = static_cast<WORD>(f[5]);
  return SystemTimeToDateTime(&st);
}

extern "C" void KTAPI TicksToHMS(DWORD ticks, DWORD *hours, DWORD *minutes,
                                 DWORD *seconds, DWORD *milliseconds) {
  DWORD totalSeconds = ticks / 1000;
  DWORD totalMinutes = totalSeconds / 60;
  if (milliseconds != nullptr) *milliseconds = ticks % 1000;
  if (seconds != nullptr) *seconds = totalSeconds % 60;
  if (minutes != nullptr) *minutes = totalMinutes % 60;
  if (hours != nullptr) *hours = totalMinutes / 60;
}
