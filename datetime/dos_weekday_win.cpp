// The weekday of a DOS date, by the platform's own conversions.
#include "date_time.h"

namespace kt {

int DosDateWeekday(WORD date, WORD time) {
  FILETIME ft;
  SYSTEMTIME st;
  if (!DosDateTimeToFileTime(date, time, &ft) || !FileTimeToSystemTime(&ft, &st))
    return -1;
  return st.wDayOfWeek;
}

}  // namespace kt
