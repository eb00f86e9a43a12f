// Internals shared by the date-time units: field access to the packed value
// and the calendar facts the arithmetic and the weekday need.
#pragma once

#include "ktutil.h"

namespace kt {

inline WORD DtYear(DateTime dt) { return static_cast<WORD>((dt >> 25) + 1980); }
inline WORD DtMonth(DateTime dt) { return static_cast<WORD>((dt >> 21) & 0x0F); }
inline WORD DtDay(DateTime dt) { return static_cast<WORD>((dt >> 16) & 0x1F); }
inline WORD DtHour(DateTime dt) { return static_cast<WORD>((dt >> 11) & 0x1F); }
inline WORD DtMinute(DateTime dt) { return static_cast<WORD>((dt >> 5) & 0x3F); }
inline WORD DtSecond(DateTime dt) { return static_cast<WORD>((dt & 0x1F) * 2); }

inline bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}
// month 1..12.
int DaysInMonth(int year, int month);

// Day of the week (0 = Sunday) of a DOS date and time word, or -1 when the
// platform's DOS-date conversion rejects them. Windows asks the platform;
// the native build has a calendar computation with the same validation.
int DosDateWeekday(WORD date, WORD time);

}  // namespace kt
