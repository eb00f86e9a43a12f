// Packing and unpacking the DateTime, its weekday, day bounds and time of day.
#include <atomic>
#include <cstdint>

#include "date_time.h"

static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME is eight 16-bit fields");
static_assert(sizeof(DateTime) == 4, "DateTime is 32 bits");

namespace {

// The last weekday computed: date half in the high 16 bits, the weekday in
// the low bits and kCacheValid beside it. One word, so a racing reader sees
// either the old or the new pair, never one date with another's weekday.
constexpr uint32_t kCacheValid = 0x8000;
std::atomic<uint32_t> g_weekdayCache{0};

constexpr DateTime kEndOfDayTime = (23u << 11) | (59u << 5) | (59u / 2);

}  // namespace

extern "C" DateTime KTAPI SystemTimeToDateTime(const SYSTEMTIME *st) {
  if (st == nullptr) return 0;
  // Unmasked on purpose: fields out of range are the caller's business.
  return ((static_cast<DWORD>(st->wYear - 1980) & 0x7F) << 25) |
         (static_cast<DWORD>(st->wMonth) << 21) | (static_cast<DWORD>(st->wDay) << 16) |
         (static_cast<DWORD>(st->wHour) << 11) | (static_cast<DWORD>(st->wMinute) << 5) |
         (static_cast<DWORD>(st->wSecond) / 2);
}

extern "C" int KTAPI DateTimeDayOfWeek(DateTime dt) {
  const uint32_t date = dt >> 16;
  uint32_t cached = g_weekdayCache.load(std::memory_order_relaxed);
  if ((cached & kCacheValid) != 0 && (cached >> 16) == date) return cached & 7;
  int weekday = kt::DosDateWeekday(static_cast<WORD>(date), static_cast<WORD>(dt));
  if (weekday < 0) return -1;
  g_weekdayCache.store((date << 16) | kCacheValid | static_cast<uint32_t>(weekday),
                       std::memory_order_relaxed);
  return weekday;
}

extern "C" BOOL KTAPI DateTimeToSystemTime(DateTime dt, SYSTEMTIME *st) {
  SYSTEMTIME scratch;
  if (st == nullptr) st = &scratch;
  st->wYear = kt::DtYear(dt);
  st->wMonth = kt::DtMonth(dt);
  st->wDay = kt::DtDay(dt);
  st->wHour = kt::DtHour(dt);
  st->wMinute = kt::DtMinute(dt);
  st->wSecond = kt::DtSecond(dt);
  st->wMilliseconds = 0;
  st->wDayOfWeek = static_cast<WORD>(DateTimeDayOfWeek(dt));
  return dt != 0;
}

extern "C" DateTime KTAPI StartOfDay(DateTime dt) { return dt & 0xFFFF0000u; }

// 23:59:59.999 packed: the halved second makes it 23:59:58.
extern "C" DateTime KTAPI EndOfDay(DateTime dt) {
  return (dt & 0xFFFF0000u) | kEndOfDayTime;
}

extern "C" int KTAPI DateTimeToTimeOfDay(DateTime dt) {
  return kt::DtHour(dt) * 3600 + kt::DtMinute(dt) * 60 + kt::DtSecond(dt);
}

extern "C" DateTime KTAPI TimeOfDayToDateTime(int seconds) {
  int h = seconds / 3600;
  int m = (seconds - 3600 * h) / 60;
  int q = (seconds - 3600 * h - 60 * m) / 2;
  return static_cast<DateTime>(h * 2048 + m * 32 + q);
}
