/* Base types of the ktutil interface.
 *
 * On Windows they are the platform's own. Elsewhere (the portable core built
 * natively for sanitizers and fuzzing) the few names the portable code uses
 * are defined here with the same sizes as on Windows, so that code never
 * needs <windows.h>. */
#ifndef KTUTIL_TYPES_H
#define KTUTIL_TYPES_H

#ifdef _WIN32
#include <windows.h>
#define KTAPI __cdecl
#else
#include <stddef.h>
#include <stdint.h>
#define KTAPI
typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t LONG;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef void *LPVOID;
typedef char *LPSTR;
typedef const char *LPCSTR;
/* The platform's broken-down time, field for field. */
typedef struct _SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
} SYSTEMTIME, *PSYSTEMTIME, *LPSYSTEMTIME;
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#endif

#ifdef __cplusplus
#define KT_EXTERN_C_BEGIN extern "C" {
#define KT_EXTERN_C_END }
#else
#define KT_EXTERN_C_BEGIN
#define KT_EXTERN_C_END
#endif

#endif
