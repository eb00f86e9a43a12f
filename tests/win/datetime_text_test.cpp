// Date-time texts and local time, run under several time zones and user
// locales (the ctest entries set TZ and LC_ALL for Wine). Expectations for
// locale-dependent text come from the platform's own formatting functions.
#include <cstdlib>

#include "win_helpers.h"

using kttest::CheckBounded;

namespace {

constexpr DateTime kJuly4 = 0x2AE46DB2u;  // 4 July 2001 13:45:36 UTC

LONGLONG Seconds(const SYSTEMTIME &st) {
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return ((static_cast<LONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000000;
}

// UTC shifted by local minus universal time now, taken from the clock rather
// than the time-zone record the library reads.
SYSTEMTIME ToLocal(DateTime utc) {
  SYSTEMTIME now, local;
  GetSystemTime(&now);
  GetLocalTime(&local);
  const int minutes =
      static_cast<int>((Seconds(local) - Seconds(now) + 86430) / 60 - 1440);
  DateTimeToSystemTime(utc, &local);
  SystemTimeAddMinutes(&local, minutes);
  return local;
}

// The platform's text: a date, or a time with the given flags.
std::string Platform(const SYSTEMTIME &st, bool date, DWORD flags = 0) {
  char t[128] = "";
  (date ? GetDateFormatA : GetTimeFormatA)(
      LOCALE_USER_DEFAULT, date ? DATE_SHORTDATE : flags, &st, nullptr, t, sizeof t);
  return t;
}
std::string Stamp(const SYSTEMTIME &st) {
  return Platform(st, true) + " " +
         Platform(st, false, TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT);
}

// Writers that return the length, or `cut` when the text did not fit.
void CheckCounted(int(KTAPI *write)(DWORD, LPSTR, int), DWORD value,
                  const std::string &full, int cut) {
  const int len = static_cast<int>(full.size());
  CheckBounded(full, [&](char *b, int n) {
    EXPECT_EQ(write(value, b, n), n > len ? len : cut) << full << " in " << n;
    // Empty rather than cut.
    EXPECT_TRUE(cut != 0 || n == 0 || n > len || !*b) << full << " in " << n;
  });
}

TEST(DateTimeText, TheTestsZoneAndLocaleLocalTimeClockTicksAndEveryText) {
  // Wine follows the zone and locale the test command gives.
  TIME_ZONE_INFORMATION tz;
  GetTimeZoneInformation(&tz);
  const char *bias = getenv("KT_EXPECT_BIAS"), *lcid = getenv("KT_EXPECT_LCID");
  EXPECT_EQ(tz.Bias, bias ? atol(bias) : tz.Bias);
  EXPECT_EQ(GetUserDefaultLCID(),
            lcid ? strtoul(lcid, nullptr, 16) : GetUserDefaultLCID());
  SYSTEMTIME local = ToLocal(kJuly4), got, untouched = {1, 2, 3, 4, 5, 6, 7, 8};
  const SYSTEMTIME copy = untouched;
  ASSERT_TRUE(DateTimeToLocalTime(kJuly4, &got));
  EXPECT_EQ(SystemTimeToDateTime(&got), SystemTimeToDateTime(&local));
  EXPECT_EQ(LocalTime(kJuly4), SystemTimeToDateTime(&local));
  EXPECT_EQ(UniversalTime(LocalTime(kJuly4)), kJuly4);
  EXPECT_FALSE(DateTimeToLocalTime(0, &untouched));
  EXPECT_FALSE(LocalTimeToUniversalTime(0xFFFFFFFFu, &untouched));
  EXPECT_EQ(memcmp(&untouched, &copy, sizeof copy), 0);
  EXPECT_EQ(LocalTime(0), 0u);

  // Seconds from now: the clock, the library's start, and ticks as times.
  SYSTEMTIME now;
  GetSystemTime(&now);
  auto fromNow = [&](DateTime dt) {
    DateTimeToSystemTime(dt, &got);
    return static_cast<double>(Seconds(got) - Seconds(now));
  };
  EXPECT_NEAR(fromNow(GetCurrentDateTime()), 0, 2);
  EXPECT_NEAR(fromNow(GetStartDateTime()), -150, 150);  // the library started with us
  EXPECT_NEAR(fromNow(TicksToDateTime(GetTickCount() - 90000)), -90, 2);
  EXPECT_NEAR(fromNow(TicksToDateTime(GetTickCount() + 3600000)), 3600, 2);
  SYSTEMTIME nowLocal;
  GetLocalTime(&nowLocal);
  TicksToLocalTime(GetTickCount(), &got);  // the zone's offset applied
  EXPECT_NEAR(static_cast<double>(Seconds(got) - Seconds(nowLocal)), 0, 2);

  // Dates with and without a time, ranges of them, durations, byte counts,
  // days and times of day.
  const std::string july4 = Stamp(local);
  CheckBounded(july4, [](char *b, int n) { DateTimeToStr(kJuly4, b, n); });
  local.wHour = local.wMinute = local.wSecond = 0;  // local midnight: the date alone
  const DateTime midnight = UniversalTime(SystemTimeToDateTime(&local));
  CheckBounded(Platform(local, true),
               [=](char *b, int n) { DateTimeToStr(midnight, b, n); });
  local.wSecond = 2;
  CheckBounded(Stamp(local), [=](char *b, int n) { DateTimeToStr(midnight + 1, b, n); });
  CheckBounded("[invalid date]",
               [](char *b, int n) { DateTimeToStr(0xFFFFFFFFu, b, n); });

  auto range = [](int kind, DateTime from, DateTime to, const std::string &text) {
    CheckBounded(text, [=](char *b, int n) {
      const int count = DateRangeToStr(kind, from, to, b, n);
      EXPECT_TRUE(n == 0 || count == static_cast<int>(strlen(b)));
    });
  };
  range(0, kJuly4, kJuly4, "All dates");
  range(15, 0, 0, "Current session only");
  range(1, 0, kJuly4, "From first access to " + july4);
  range(3, kJuly4, ~0u, "From " + july4 + " to last access");

  const std::tuple<DWORD, const char *, const char *> durations[] = {
      {0, "none", "none"},
      {5, "5ms", "5 milliseconds"},
      {61000, "1m 1s", "1 minutes"},
      {3600005, "1h 0m 0s 5ms", "1hours 0minutes"},
      {3660000, "1h 1m", "1hours 1minutes"}};
  for (const auto &[ticks, compact, display] : durations) {
    CheckCounted(TicksToHMSStr, ticks, compact, 0);
    CheckCounted(TicksToDisplayStr, ticks, display, 0);
  }
  const std::pair<DWORD, const char *> bytes[] = {{999, "999 bytes"},
                                                  {1000, "1.00 KB"},
                                                  {999999, "1000.00 KB"},
                                                  {1000000, "1.00 MB"}};
  for (const auto &[count, text] : bytes) CheckCounted(BytesToStr, count, text, -1);
  char sep[10], dec[10];
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, sep, sizeof sep);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, dec, sizeof dec);
  CheckCounted(TicksToHMSStrCond, 3723004,
               std::string("1") + sep + "2" + sep + "3" + dec + "4", -1);

  // Bit 1 is Sunday; bit 0 and bit 8 name no day.
  const std::pair<DWORD, const char *> days[] = {
      {254, "Every day"},       {124, "Mon-Fri"},  {6, "SunMon"}, {1, ""},
      {0xEE, "Sun-TueThu-Sat"}, {0x1FE, "Sun-Sat"}};
  for (const auto &d : days)
    CheckBounded(d.second, [&](char *b, int n) { DaysToString(d.first, b, n); });
  const SYSTEMTIME one = {0, 0, 0, 0, 1};  // 1 o'clock
  auto times = [](int from, int to, const std::string &text) {
    CheckBounded(text, [=](char *b, int n) { TimeRangeToString(from, to, b, n); });
  };
  times(-1, -1, "Always");
  times(0, 3600, Platform(SYSTEMTIME{}, false) + "-" + Platform(one, false));
  times(-1, 3600, "-" + Platform(one, false));  // an open bound shows as nothing
}

}  // namespace
