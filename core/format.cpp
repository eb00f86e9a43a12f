// printf-style formatting, plain and from the string table.
#include "format.h"

#include <stdio.h>

#include "ktutil.h"

namespace kt {

int BoundedFormat(char *dest, int size, const char *format, va_list args) {
  // Nothing can be written: the cut rule's size - 1 with size 0.
  if (dest == nullptr || size <= 0) return -1;
  // The platform's own formatter, so callers get its conversions ("%S",
  // "%I64d", 32-bit "%ld") whatever libstdc++ would pick.
  int n = _vsnprintf(dest, static_cast<size_t>(size), format ? format : "", args);
  dest[size - 1] = '\0';
  return (n >= 0 && n < size) ? n : size - 1;
}

}  // namespace kt

extern "C" int KTAPI wsnprintf(LPSTR dest, int size, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  int n = kt::BoundedFormat(dest, size, format, args);
  va_end(args);
  return n;
}

extern "C" int KTAPI fmtmsg(LPSTR dest, int size, HINSTANCE module, UINT id, ...) {
  // An id missing from the table leaves the template empty.
  char format[4096];
  if (LoadStringA(module, id, format, sizeof format) <= 0) format[0] = '\0';
  va_list args;
  va_start(args, id);
  int n = kt::BoundedFormat(dest, size, format, args);
  va_end(args);
  return n;
}
