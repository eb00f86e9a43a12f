// The date-time base, the clock and the start time.
#include "base.h"

#include "core/lifecycle.h"

namespace kt {
namespace {

DateTimeBase g_base;

void ReadLocaleText(LCTYPE item, char *dest, int size) {
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, item, dest, size) <= 0) dest[0] = '\0';
}

}  // namespace

const DateTimeBase &DtBase() { return g_base; }

void StartDateTimeBase() {
  if (g_base.startTicks != 0) return;
  // The offset is fixed for the life of the load, also across a change
  // between standard and daylight time.
  TIME_ZONE_INFORMATION tz;
  if (GetTimeZoneInformation(&tz) == TIME_ZONE_ID_DAYLIGHT) {
    g_base.localOffset = -(tz.Bias + tz.DaylightBias) * 60;
  } else {
    g_base.localOffset = -(tz.Bias + tz.StandardBias) * 60;
  }
  g_base.start = GetCurrentDateTime();
  g_base.startTicks = GetTickCount();
  ReadLocaleText(LOCALE_STIME, g_base.timeSeparator, sizeof g_base.timeSeparator);
  ReadLocaleText(LOCALE_SDECIMAL, g_base.decimalSeparator,
                 sizeof g_base.decimalSeparator);
  for (int i = 0; i < 3; ++i)
    LoadLibraryText(1 + i, g_base.byteTemplates[i], sizeof g_base.byteTemplates[i]);
}

// The base holds nothing to release.
void StopDateTimeBase() {}

int LoadLibraryText(UINT id, char *dest, int size) {
  if (dest == nullptr || size <= 0) return 0;
  // Through a scratch buffer: LoadStringA's handling of tiny sizes differs
  // between the platform families.
  char text[256];
  int n = LoadStringA(ModuleHandle(), id, text, sizeof text);
  if (n <= 0) n = 0;
  if (n > size - 1) n = size - 1;
  memcpy(dest, text, n);
  dest[n] = '\0';
  return n;
}

}  // namespace kt

extern "C" DateTime KTAPI GetCurrentDateTime(void) {
  SYSTEMTIME now;
  GetSystemTime(&now);
  return SystemTimeToDateTime(&now);
}

extern "C" DateTime KTAPI GetStartDateTime(void) { return kt::DtBase().start; }
