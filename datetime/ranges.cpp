// Whether a date, a record's date range or a time of day lies in a range.
#include "ktutil.h"

extern "C" BOOL KTAPI DateTimeInRange(DateTime t, DateTime from, DateTime to,
                                      DWORD flags) {
  // A bound equal to t decides alone; open bounds always include.
  if (t == from) return from == 0 || (flags & KT_RANGE_WITH_FROM) != 0;
  if (t == to) return to == 0xFFFFFFFFu || (flags & KT_RANGE_WITH_TO) != 0;
  return from < t && t < to;
}

extern "C" BOOL KTAPI DateRangeInRange(DateTime start, DateTime end, DateTime from,
                                       DateTime to, DWORD flags) {
  BOOL a = DateTimeInRange(start, from, to, flags);
  BOOL b = end == 0 || DateTimeInRange(end, from, to, flags);
  switch (flags & 0x0F) {
    case KT_RANGE_BOTH:
      return a && b;
    case KT_RANGE_EITHER:
      return a || b;
    default:
      return FALSE;
  }
}

extern "C" BOOL KTAPI TimeOfDayInRange(int t, int from, int to) {
  if (from == -1 && to == -1) return TRUE;
  return from <= t && t <= to;
}
