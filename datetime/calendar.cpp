// Calendar arithmetic on a SYSTEMTIME in place, and on the packed value.
#include <cstdint>

#include "date_time.h"

namespace {

// Sums are taken in 64 bits so that counts near the 32-bit limits give the
// wrapped 16-bit fields instead of undefined behaviour.
int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Reduces field + n into 0..unit-1 and returns the carry.
int TakeCarry(WORD &field, int n, int unit) {
  int64_t sum = static_cast<int64_t>(field) + n;
  int64_t carry = FloorDiv(sum, unit);
  field = static_cast<WORD>(sum - carry * unit);
  return static_cast<int>(carry);
}

// Moves year and month by n months, month kept in 1..12.
void StepMonths(int &year, int &month, int64_t n) {
  int64_t m = month + n;
  int64_t k = 0;
  if (m < 1) {
    k = -((12 - m) / 12);
  } else if (m > 12) {
    k = (m - 1) / 12;
  }
  month = static_cast<int>(m - 12 * k);
  year = static_cast<int>(year + k);
}

// Days in the Gregorian 400-year cycle: from the first of a month, this many
// days on is the first of the same month 400 years later.
constexpr int64_t kCycleDays = 146097;

// Unpacked, moved by one of the operations below, packed again.
DateTime MovedBy(DateTime dt, void(KTAPI *add)(SYSTEMTIME *, int), int count) {
  SYSTEMTIME st;
  DateTimeToSystemTime(dt, &st);
  add(&st, count);
  return SystemTimeToDateTime(&st);
}

}  // namespace

namespace kt {

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[((month - 1) % 12 + 12) % 12];
}

}  // namespace kt

extern "C" int KTAPI SystemTimeDaysInMonth(const SYSTEMTIME *st) {
  return kt::DaysInMonth(st->wYear, st->wMonth);
}

extern "C" void KTAPI SystemTimeAddMonths(SYSTEMTIME *st, int months) {
  int year = st->wYear, month = st->wMonth;
  StepMonths(year, month, months);
  st->wYear = static_cast<WORD>(year);
  st->wMonth = static_cast<WORD>(month);
  int last = kt::DaysInMonth(static_cast<WORD>(year), month);
  if (st->wDay > last) st->wDay = static_cast<WORD>(last);
}

extern "C" void KTAPI SystemTimeAddDays(SYSTEMTIME *st, int days) {
  if (days == 0) return;
  // Stepped from the structure's own weekday, not recomputed from the date.
  int64_t weekday = (static_cast<int64_t>(st->wDayOfWeek) + days) % 7;
  st->wDayOfWeek = static_cast<WORD>(weekday < 0 ? weekday + 7 : weekday);
  // From the first of the month no month step can clamp the day.
  int64_t d = static_cast<int64_t>(st->wDay) + days;
  int year = st->wYear, month = st->wMonth;
  // Whole 400-year cycles first, so that huge counts need few month steps.
  if (d > kCycleDays || d < -kCycleDays) {
    int64_t cycles = d / kCycleDays;
    year = static_cast<int>(year + 400 * cycles);
    d -= cycles * kCycleDays;
  }
  while (d < 1) {
    StepMonths(year, month, -1);
    d += kt::DaysInMonth(static_cast<WORD>(year), month);
  }
  for (int last; d > (last = kt::DaysInMonth(static_cast<WORD>(year), month));) {
    d -= last;
    StepMonths(year, month, 1);
  }
  st->wYear = static_cast<WORD>(year);
  st->wMonth = static_cast<WORD>(month);
  st->wDay = static_cast<WORD>(d);
}

extern "C" void KTAPI SystemTimeAddHours(SYSTEMTIME *st, int hours) {
  int days = TakeCarry(st->wHour, hours, 24);
  if (days != 0) SystemTimeAddDays(st, days);
}

extern "C" void KTAPI SystemTimeAddMinutes(SYSTEMTIME *st, int minutes) {
  int hours = TakeCarry(st->wMinute, minutes, 60);
  if (hours != 0) SystemTimeAddHours(st, hours);
}

extern "C" void KTAPI SystemTimeAddSeconds(SYSTEMTIME *st, int seconds) {
  int minutes = TakeCarry(st->wSecond, seconds, 60);
  if (minutes != 0) SystemTimeAddMinutes(st, minutes);
}

extern "C" void KTAPI SystemTimeAddMilliSeconds(SYSTEMTIME *st, int milliseconds) {
  int seconds = TakeCarry(st->wMilliseconds, milliseconds, 1000);
  if (seconds != 0) SystemTimeAddSeconds(st, seconds);
}

extern "C" DateTime KTAPI DateTimeAddDays(DateTime dt, int days) {
  return MovedBy(dt, SystemTimeAddDays, days);
}

extern "C" DateTime KTAPI DateTimeAddMinutes(DateTime dt, int minutes) {
  return MovedBy(dt, SystemTimeAddMinutes, minutes);
}
