// The calendar arithmetic against the platform's FILETIME arithmetic, an
// independent implementation of the same calendar.
#include <random>

#include "win_helpers.h"

namespace {

constexpr LONGLONG kUnitsPerMs = 10000;  // FILETIME counts 100 ns
std::mt19937 rng{20010704};

int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

LONGLONG ToUnits(const SYSTEMTIME &st) {
  FILETIME ft;
  EXPECT_TRUE(SystemTimeToFileTime(&st, &ft));
  return (static_cast<LONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

SYSTEMTIME FromUnits(LONGLONG units) {
  FILETIME ft = {static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
  SYSTEMTIME st;
  EXPECT_TRUE(FileTimeToSystemTime(&ft, &st));
  return st;
}

// The day before the next month's first (month 1..12), by the platform.
WORD LastDay(int year, int month) {
  const SYSTEMTIME next = {
      WORD(year + month / 12), WORD(month % 12 + 1), 0, 1, 0, 0, 0, 0};
  return FromUnits(ToUnits(next) - 86400000 * kUnitsPerMs).wDay;
}

// Every field, the weekday and milliseconds included, printable.
std::vector<WORD> Fields(const SYSTEMTIME &st) {
  const WORD *f = reinterpret_cast<const WORD *>(&st);
  return std::vector<WORD>(f, f + 8);
}

// Random instants from 1980 to 2107, half of them on a month's last day, and
// 29 February of 2000 and 2004 (and the 28th of 2100, no leap year) often.
SYSTEMTIME RandomStart() {
  static const int kFebruaries[] = {2000, 2004, 2100};
  const bool february = Pick(0, 3) == 0;
  const int year = february ? kFebruaries[Pick(0, 2)] : Pick(1980, 2107);
  const int month = february ? 2 : Pick(1, 12);
  const int day =
      std::min<int>(february || Pick(0, 1) ? 31 : Pick(1, 31), LastDay(year, month));
  const SYSTEMTIME st = {WORD(year),        WORD(month),       0,
                         WORD(day),         WORD(Pick(0, 23)), WORD(Pick(0, 59)),
                         WORD(Pick(0, 59)), WORD(Pick(0, 999))};
  return FromUnits(ToUnits(st));  // the platform's weekday
}

// Magnitudes spread over several orders up to limit, both signs.
int Count(int limit) {
  int magnitude = 1;
  for (int i = Pick(0, 9); i > 0 && magnitude < limit / 10; --i) magnitude *= 10;
  const int n = Pick(0, magnitude);
  return Pick(0, 1) ? n : -n;
}

TEST(CalendarOracle, EveryUnitMatchesFileTime) {
  // The adder, the packed one if any, the unit in ms (0: months) and the
  // largest count, which keeps the results after 1601, where FILETIME starts.
  const std::tuple<void(KTAPI *)(SYSTEMTIME *, int), DateTime(KTAPI *)(DateTime, int),
                   LONGLONG, int>
      units[] = {{SystemTimeAddMilliSeconds, nullptr, 1, 0x7FFFFFFF},
                 {SystemTimeAddSeconds, nullptr, 1000, 0x7FFFFFFF},
                 {SystemTimeAddMinutes, DateTimeAddMinutes, 60000, 190000000},
                 {SystemTimeAddHours, nullptr, 3600000, 3200000},
                 {SystemTimeAddDays, DateTimeAddDays, 86400000, 130000},
                 {SystemTimeAddMonths, nullptr, 0, 4000}};
  for (const auto &[add, addPacked, ms, limit] : units)
    for (int i = 0; i < 5000; ++i) {
      SYSTEMTIME st = RandomStart(), want = st;
      const DateTime packed = SystemTimeToDateTime(&st);
      ASSERT_EQ(DateTimeDayOfWeek(packed), st.wDayOfWeek);
      const int n = Count(limit);
      if (ms == 0) {
        // The same day of the target month, or its last; the weekday is kept.
        const int month = st.wYear * 12 + st.wMonth - 1 + n;
        want.wYear = static_cast<WORD>(month / 12);
        want.wMonth = static_cast<WORD>(month % 12 + 1);
        want.wDay = std::min(want.wDay, LastDay(want.wYear, want.wMonth));
      } else if (n != 0) {
        want = FromUnits(ToUnits(st) + n * ms * kUnitsPerMs);
      }
      add(&st, n);
      ASSERT_EQ(Fields(st), Fields(want)) << "unit " << ms << " ms, count " << n;
      if (addPacked != nullptr && want.wYear >= 1980 && want.wYear <= 2107) {
        ASSERT_EQ(addPacked(packed, n), SystemTimeToDateTime(&want)) << n;
      }
    }
  // A 29 February outside leap years is no date. Wine's DOS-date conversion
  // takes 29 February 2001 for 1 March.
  const int weekday = DateTimeDayOfWeek(0x2A5D0000u);
  EXPECT_TRUE(weekday == -1 || (kttest::OnWine() && weekday == 4)) << weekday;
}

}  // namespace
