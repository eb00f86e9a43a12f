#include <gtest/gtest.h>

#include <thread>
#include <tuple>

#include "ktutil.h"

namespace {

DateTime Pack(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  const SYSTEMTIME st = {WORD(y), WORD(mo), 0, WORD(d), WORD(h), WORD(mi), WORD(s), 0};
  return SystemTimeToDateTime(&st);
}

// 2001-07-04 13:45:37, stored with the second halved.
constexpr DateTime kJuly4 = 0x2AE46DB2u;

TEST(DateTimePacking, KnownValuesReservedValuesWeekdaysAndHugeCounts) {
  EXPECT_EQ(Pack(2001, 7, 4, 13, 45, 37), kJuly4);
  EXPECT_EQ(Pack(2107, 12, 31, 23, 59, 59), 0xFF9FBF7Du);  // every field at its widest
  SYSTEMTIME st;
  ASSERT_TRUE(DateTimeToSystemTime(kJuly4, &st));
  EXPECT_TRUE(SystemTimeToDateTime(&st) == kJuly4 && st.wSecond == 36);
  EXPECT_FALSE(DateTimeToSystemTime(0, &st));
  EXPECT_TRUE(DateTimeToSystemTime(0xFFFFFFFFu, &st) && st.wDayOfWeek == 0xFFFF);
  EXPECT_EQ(DateTimeDayOfWeek(Pack(2001, 4, 31)), -1);
  EXPECT_EQ(DateTimeDayOfWeek(Pack(2001, 4, 30, 24)), -1);
  EXPECT_EQ(EndOfDay(kJuly4), Pack(2001, 7, 4, 23, 59, 58));
  EXPECT_EQ(StartOfDay(kJuly4), Pack(2001, 7, 4));
  // Only year and month are read; leap years by the Gregorian rule.
  for (auto [y, mo, days] : {std::tuple{2000, 2, 29}, {1900, 2, 28}, {2004, 2, 29},
                             {2001, 2, 28}, {2001, 4, 30}, {2001, 12, 31}}) {
    const SYSTEMTIME month = {WORD(y), WORD(mo), 9, 99, 99, 99, 99, 9999};
    EXPECT_EQ(SystemTimeDaysInMonth(&month), days) << y << "-" << mo;
  }
  // Durations are not reduced to days; a null pointer skips its part.
  DWORD hms[4] = {};
  TicksToHMS(0xFFFFFFFFu, &hms[0], &hms[1], &hms[2], &hms[3]);
  EXPECT_TRUE(hms[0] == 1193 && hms[1] == 2 && hms[2] == 47 && hms[3] == 295);
  TicksToHMS(61001, nullptr, &hms[1], nullptr, nullptr);
  EXPECT_TRUE(hms[0] == 1193 && hms[1] == 1 && hms[2] == 47 && hms[3] == 295);

  // Day by day from a known Tuesday, stepped by the arithmetic (which the
  // Windows tests hold against the platform's calendar). Natively this is
  // the only check of the weekday over the whole range.
  st = {1980, 1, 2, 1, 0, 0, 0, 0};
  for (; st.wYear < 2108; SystemTimeAddDays(&st, 1))
    ASSERT_EQ(DateTimeDayOfWeek(SystemTimeToDateTime(&st)), st.wDayOfWeek)
        << st.wYear << "-" << st.wMonth << "-" << st.wDay;
  // What the platform comparison cannot see: the weekday is stepped from
  // the structure's own, counts beyond a 400-year cycle, counts near the
  // 32-bit limits.
  st = {2000, 3, 6, 1, 10, 0, 0, 0};  // the weekday is wrong on purpose
  SystemTimeAddDays(&st, -1);
  EXPECT_TRUE(SystemTimeToDateTime(&st) == Pack(2000, 2, 29, 10) && st.wDayOfWeek == 5);
  SystemTimeAddDays(&st, 146097 * 3 + 8);  // whole 400-year cycles and a week
  EXPECT_TRUE(st.wYear == 3200 && st.wMonth == 3 && st.wDay == 8 && st.wDayOfWeek == 6);
  SystemTimeAddMinutes(&st, 0x7FFFFFFF);
  SystemTimeAddMinutes(&st, -0x7FFFFFFF);
  EXPECT_TRUE(st.wYear == 3200 && st.wMonth == 3 && st.wDay == 8 && st.wHour == 10 &&
              st.wMinute == 0);
}

// Each thread alternates between two days: a weekday cache that kept date
// and weekday apart would sooner or later give one day the other's weekday.
TEST(DateTimePacking, WeekdayCacheNeverMixesTwoDates) {
  const DateTime days[4] = {Pack(2001, 7, 4), Pack(2001, 7, 5), Pack(2050, 3, 6),
                            Pack(2107, 12, 31)};
  const int want[4] = {3, 4, 0, 6};
  int wrong[2] = {0, 0};
  auto run = [&](int t) {
    for (int i = 0; i < 20000; ++i)
      if (DateTimeDayOfWeek(days[2 * t + (i & 1)]) != want[2 * t + (i & 1)]) ++wrong[t];
  };
  std::thread other(run, 0);
  run(1);
  other.join();
  EXPECT_EQ(wrong[0] + wrong[1], 0);
}

TEST(DateTimeRanges, DatesRecordsTimesOfDayAndTheFixedForm) {
  const DateTime from = Pack(2001, 1, 1), to = Pack(2001, 12, 31), mid = Pack(2001, 6, 1);
  EXPECT_TRUE(DateTimeInRange(0, 0, ~0u, 0) && DateTimeInRange(~0u, 0, ~0u, 0));
  EXPECT_TRUE(DateTimeInRange(mid, from, to, 0) && !DateTimeInRange(to, from, to, 0));
  EXPECT_TRUE(DateTimeInRange(to, from, to, KT_RANGE_WITH_TO));
  EXPECT_FALSE(DateTimeInRange(from, from, to, KT_RANGE_WITH_TO));
  EXPECT_FALSE(DateTimeInRange(mid, mid, mid, KT_RANGE_WITH_TO));  // lower bound decides
  EXPECT_TRUE(DateRangeInRange(mid, 0, from, to, KT_RANGE_BOTH));  // not ended yet
  EXPECT_FALSE(DateRangeInRange(Pack(2000, 6, 1), mid, from, to, KT_RANGE_BOTH));
  EXPECT_TRUE(DateRangeInRange(Pack(2000, 6, 1), mid, from, to, KT_RANGE_EITHER));
  EXPECT_EQ(DateTimeToTimeOfDay(kJuly4), 49536);
  EXPECT_EQ(TimeOfDayToDateTime(49537), 0x6DB2u);
  for (int t : {0, 7200, 79200, 86399})  // no wrap past midnight; -1 to -1 is always
    EXPECT_TRUE(!TimeOfDayInRange(t, 79200, 7200) && TimeOfDayInRange(t, -1, -1)) << t;
  EXPECT_TRUE(TimeOfDayInRange(3600, 3600, 7200) && !TimeOfDayInRange(7201, 3600, 7200));

  // The writer's cuts are checked with the other bounded writers (core_test.cpp).
  EXPECT_EQ(NormStrToDateTime("  2001/7/4\t\n13.45.37 trailing"), kJuly4);
  EXPECT_EQ(NormStrToDateTime("2001/07/04"), Pack(2001, 7, 4));
  EXPECT_EQ(NormStrToDateTime("garbage"), 0u);
  // Every field's full width reads back, in range or not.
  char buf[32];
  NormDateTimeToStr(0xFFFFFFFFu, buf, sizeof buf);
  EXPECT_EQ(NormStrToDateTime(buf), 0xFFFFFFFFu) << buf;
}

}  // namespace
