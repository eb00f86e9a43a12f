// Dates and date filters as text in the user's locale.
#include <string.h>

#include "base.h"

namespace {

constexpr UINT kInvalidDate = 4;   // "[invalid date]"
constexpr UINT kFirstAccess = 22;  // "first access"
constexpr UINT kLastAccess = 23;   // "last access"
constexpr UINT kSessionOnly = 24;  // "Current session only"
constexpr UINT kAllDates = 25;     // "All dates"
constexpr UINT kFromTo = 26;       // "From %s to %s"
constexpr int kSessionKind = 15;

// Appends text after what dest holds, as far as size allows.
void AppendCut(char *dest, int size, const char *text) {
  int used = static_cast<int>(strlen(dest));
  strncpy0(dest + used, text, size - used);
}

bool IsNoDate(DateTime dt) { return dt == 0 || dt == 0xFFFFFFFFu; }

}  // namespace

extern "C" void KTAPI DateTimeToStr(DateTime dt, LPSTR dest, int size) {
  if (dest == nullptr || size <= 0) return;
  if (IsNoDate(dt)) {
    kt::LoadLibraryText(kInvalidDate, dest, size);
    return;
  }
  SYSTEMTIME t;
  DateTimeToLocalTime(dt, &t);
  // Through scratch, so that a buffer too small for the date still gets
  // the date cut to size rather than the platform's failure.
  char text[256];
  if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, text,
                     sizeof text) <= 0)
    text[0] = '\0';
  strncpy0(dest, text, size);
  // Local midnight shows the date alone.
  if (t.wHour == 0 && t.wMinute == 0 && t.wSecond == 0 && t.wMilliseconds == 0) return;
  char time[100];
  if (GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT, &t,
                     nullptr, time, sizeof time) <= 0)
    time[0] = '\0';
  AppendCut(dest, size, " ");
  AppendCut(dest, size, time);
}

extern "C" int KTAPI DateRangeToStr(int kind, DateTime from, DateTime to, LPSTR dest,
                                    int size) {
  if (kind == kSessionKind) return kt::LoadLibraryText(kSessionOnly, dest, size);
  if (kind == 0) return kt::LoadLibraryText(kAllDates, dest, size);
  char fromText[128], toText[128], format[128];
  if (IsNoDate(from)) {
    kt::LoadLibraryText(kFirstAccess, fromText, sizeof fromText);
  } else {
    DateTimeToStr(from, fromText, sizeof fromText);
  }
  if (IsNoDate(to)) {
    kt::LoadLibraryText(kLastAccess, toText, sizeof toText);
  } else {
    DateTimeToStr(to, toText, sizeof toText);
  }
  kt::LoadLibraryText(kFromTo, format, sizeof format);
  return wsnprintf(dest, size, format, fromText, toText);
}
