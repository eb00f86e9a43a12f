// Sets of weekdays and time-of-day ranges as text.
#include <string.h>
#include <time.h>

#include "base.h"
#include "core/lifecycle.h"

namespace {

constexpr UINT kRange = 3049;     // "%s-%s"
constexpr UINT kEveryDay = 3050;  // "Every day"
constexpr UINT kAlways = 28;      // "Always"
constexpr DWORD kAllDays = 254;
constexpr DWORD kWorkDays = 124;  // Monday to Friday

// Abbreviated name of day i (1 = Sunday) in the C library's locale.
void DayName(int i, char *dest, size_t size) {
  tm t = {};
  t.tm_wday = i - 1;
  if (strftime(dest, size, "%a", &t) == 0) dest[0] = '\0';
}

void DayRange(int first, int last, char *dest, int size) {
  char a[32], b[32];
  DayName(first, a, sizeof a);
  DayName(last, b, sizeof b);
  fmtmsg(dest, size, kt::ModuleHandle(), kRange, a, b);
}

bool DayBit(DWORD days, int i) { return (days >> i) & 1; }

// The user's time format of a time of day; "" where the platform refuses it
// (a one-sided bound of -1).
void TimeText(int s, char *dest, int size) {
  SYSTEMTIME t = {};
  t.wHour = static_cast<WORD>(s / 3600);
  t.wMinute = static_cast<WORD>((s - 3600 * t.wHour) / 60);
  t.wSecond = static_cast<WORD>(s - 3600 * t.wHour - 60 * t.wMinute);
  if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, dest, size) <= 0)
    dest[0] = '\0';
}

}  // namespace

extern "C" void KTAPI DaysToString(DWORD days, LPSTR dest, int size) {
  if (dest == nullptr || size <= 0) return;
  if (days == kAllDays) {
    kt::LoadLibraryText(kEveryDay, dest, size);
    return;
  }
  if (days == kWorkDays) {
    DayRange(2, 6, dest, size);
    return;
  }
  dest[0] = '\0';
  for (int i = 1; i <= 7;) {
    if (!DayBit(days, i)) {
      ++i;
      continue;
    }
    int j = i;
    while (j < 7 && DayBit(days, j + 1)) ++j;
    char item[32];
    // Runs of one or two days are named day by day.
    if (j < i + 2) {
      DayName(i, item, sizeof item);
      ++i;
    } else {
      DayRange(i, j, item, 20);
      i = j + 1;
    }
    size_t used = strlen(dest);
    strncpy0(dest + used, item, size - static_cast<int>(used));
  }
}

extern "C" int KTAPI TimeRangeToString(int from, int to, LPSTR dest, int size) {
  if (from == -1 && to == -1) return kt::LoadLibraryText(kAlways, dest, size);
  char a[32], b[32];
  TimeText(from, a, sizeof a);
  TimeText(to, b, sizeof b);
  return fmtmsg(dest, size, kt::ModuleHandle(), kRange, a, b);
}
