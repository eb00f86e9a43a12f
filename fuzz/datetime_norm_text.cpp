// The fixed-form reader on arbitrary text: it must stop at the terminator,
// and whatever it reads must survive the writer and the reader again.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ktutil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // An exact-size heap copy: AddressSanitizer catches a read past its end.
  char *text = static_cast<char *>(malloc(size + 1));
  memcpy(text, data, size);
  text[size] = '\0';
  DateTime dt = NormStrToDateTime(text);
  free(text);

  char out[32];
  int n = NormDateTimeToStr(dt, out, sizeof out);
  if (n != 19 || NormStrToDateTime(out) != dt) abort();
  // Every packed value unpacks and repacks to itself (weekday aside).
  SYSTEMTIME st;
  DateTimeToSystemTime(dt, &st);
  if (SystemTimeToDateTime(&st) != dt) abort();
  // Arithmetic there and back on a real date lands where it started (the
  // year kept clear of the ends, where the packed year wraps).
  DWORD year = dt >> 25;
  bool realTime = st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60;
  if (DateTimeDayOfWeek(dt) >= 0 && realTime && year >= 1 && year <= 126) {
    int minutes = static_cast<int>(dt % 200000) - 100000;
    DateTime moved = DateTimeAddMinutes(dt, minutes);
    if (DateTimeAddMinutes(moved, -minutes) != dt) abort();
  }
  return 0;
}
