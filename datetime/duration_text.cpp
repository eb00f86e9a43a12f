// Durations and byte counts as text.
#include <stdio.h>
#include <stdlib.h>

#include "base.h"

namespace {

// String ids by which parts of a duration are non-zero: 8 hours, 4 minutes,
// 2 seconds, 1 milliseconds.
constexpr UINT kCompactIds[16] = {15, 8,  5,  13, 6, 12, 14, 12,
                                  7,  11, 10, 11, 9, 11, 10, 11};
constexpr UINT kDisplayIds[16] = {15, 20, 17, 17, 18, 18, 18, 18,
                                  19, 21, 21, 21, 21, 21, 21, 21};

int DurationText(const UINT (&ids)[16], DWORD ticks, char *dest, int size) {
  if (dest == nullptr || size <= 0) return 0;
  DWORD parts[4];
  TicksToHMS(ticks, &parts[0], &parts[1], &parts[2], &parts[3]);
  int index = 0;
  for (int i = 0; i < 4; ++i)
    if (parts[i] > 0) index |= 8 >> i;
  char format[256];
  kt::LoadLibraryText(ids[index], format, sizeof format);
  // Inserts %1 to %4 are hours, minutes, seconds, milliseconds as text.
  char numbers[4][16];
  DWORD_PTR inserts[4];
  for (int i = 0; i < 4; ++i) {
    _itoa(static_cast<int>(parts[i]), numbers[i], 10);
    inserts[i] = reinterpret_cast<DWORD_PTR>(numbers[i]);
  }
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                           format, 0, 0, dest, static_cast<DWORD>(size),
                           reinterpret_cast<va_list *>(inserts));
  // Too small a buffer fails the formatter: leave the empty text.
  if (n == 0) dest[0] = '\0';
  return static_cast<int>(n);
}

// printf-style into dest: the count, or -1 with the text cut and terminated
// when it did not fit (also when only the terminator was missing).
int CutFormat(char *dest, int size, const char *format, ...) {
  if (dest == nullptr || size <= 0) return -1;
  va_list args;
  va_start(args, format);
  int n = _vsnprintf(dest, static_cast<size_t>(size), format, args);
  va_end(args);
  if (n >= 0 && n < size) return n;
  dest[size - 1] = '\0';
  return -1;
}

}  // namespace

extern "C" int KTAPI TicksToHMSStr(DWORD ticks, LPSTR dest, int size) {
  return DurationText(kCompactIds, ticks, dest, size);
}

extern "C" int KTAPI TicksToDisplayStr(DWORD ticks, LPSTR dest, int size) {
  return DurationText(kDisplayIds, ticks, dest, size);
}

extern "C" int KTAPI TicksToHMSStrCond(DWORD ticks, LPSTR dest, int size) {
  DWORD h, m, s, ms;
  TicksToHMS(ticks, &h, &m, &s, &ms);
  const kt::DateTimeBase &base = kt::DtBase();
  return CutFormat(dest, size, "%d%s%d%s%d%s%d", static_cast<int>(h), base.timeSeparator,
                   static_cast<int>(m), base.timeSeparator, static_cast<int>(s),
                   base.decimalSeparator, static_cast<int>(ms));
}

extern "C" int KTAPI BytesToStr(DWORD bytes, LPSTR dest, int size) {
  // Decimal multiples: 1 KB is 1000 bytes.
  const kt::DateTimeBase &base = kt::DtBase();
  if (bytes < 1000)
    return CutFormat(dest, size, base.byteTemplates[0], static_cast<int>(bytes));
  if (bytes < 1000000) return CutFormat(dest, size, base.byteTemplates[1], bytes * 0.001);
  return CutFormat(dest, size, base.byteTemplates[2], bytes * 0.000001);
}
