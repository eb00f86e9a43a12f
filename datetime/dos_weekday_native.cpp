// The weekday of a DOS date outside Windows: the same checks as the
// platform's DOS-date conversion, then a plain day count.
#include "date_time.h"

namespace kt {

int DosDateWeekday(WORD date, WORD time) {
  DateTime dt = (static_cast<DateTime>(date) << 16) | time;
  int year = DtYear(dt), month = DtMonth(dt), day = DtDay(dt);
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      DtHour(dt) > 23 || DtMinute(dt) > 59 || DtSecond(dt) > 59)
    return -1;
  // Days since 1 March of year 0 (proleptic Gregorian), March-based so that
  // the leap day ends the year.
  int y = month <= 2 ? year - 1 : year;
  int m = month <= 2 ? month + 9 : month - 3;
  long days = 365L * y + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + day - 1;
  // 1 March of year 0 was a Wednesday.
  return static_cast<int>((days + 3) % 7);
}

}  // namespace kt
