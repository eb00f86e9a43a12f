/* ktutil: the shared utility library of the Tessaly firewall programs.
 *
 * Plain C interface. Every function here is exported from ktutil.dll under
 * this undecorated name. Texts are 8-bit ANSI and zero-terminated; a
 * destination is a pointer plus a size in characters that counts the
 * terminator, and bounded writers never write past that size. */
#ifndef KTUTIL_H
#define KTUTIL_H

#include <stdarg.h>
#include "ktutil_types.h"

KT_EXTERN_C_BEGIN

/* ---- Strings and file names ------------------------------------------- */

/* Copies at most size - 1 characters of src and always terminates. */
LPSTR KTAPI strncpy0(LPSTR dest, LPCSTR src, int size);
/* First place of pattern in text, ignoring the case of a-z; NULL if none.
 * An empty text gives NULL; an empty pattern matches at the start. */
LPSTR KTAPI stristr(LPCSTR text, LPCSTR pattern);
/* Name plus extension of path (no drive or directory), cut to size - 1. */
LPSTR KTAPI ExtractFileBase(LPCSTR path, LPSTR dest, int size);
/* Replaces name and extension of path (room for 260 characters) by newBase. */
LPSTR KTAPI ChangeFileBase(LPSTR path, LPCSTR newBase);

/* ---- Words and flags ---------------------------------------------------- */

DWORD KTAPI RotateLeft(DWORD value, int count);
DWORD KTAPI RotateRight(DWORD value, int count);
/* counters: 31 caller-owned 16-bit counters, one per bit 0..30 of flags.
 * Add returns the bits whose counter went from 0 to 1; Del returns the bits
 * whose counter reached 0. Bit 31 in Del's flags forces the counters to 0. */
DWORD KTAPI AddStatusFlags(DWORD flags, WORD *counters);
DWORD KTAPI DelStatusFlags(DWORD flags, WORD *counters);

/* ---- containers (hash table, map, multimap) ---- */

/* ---- tokenizer and URL, version and pattern parsing ---- */

/* ---- date-time values and arithmetic ---- */

/* ---- TextBuffer, address and port text, MD5 ---- */

#ifdef _WIN32

/* ---- Bounded and string-table formatting -------------------------------
 * The result is the count written without the terminator; a cut text is
 * terminated and gives size - 1 (so size 0 gives -1). The "%r" family also
 * takes "%r": its argument is a string id of module's string table, whose
 * text is inserted into the format (it must not contain '%'). */
int KTAPI wsnprintf(LPSTR dest, int size, LPCSTR format, ...);
int KTAPI fmtmsg(LPSTR dest, int size, HINSTANCE module, UINT id, ...);
int KTAPI wsrprintf(LPSTR dest, int size, HINSTANCE module, LPCSTR format, ...);
int KTAPI fmtrmsg(LPSTR dest, int size, HINSTANCE module, UINT id, ...);
int KTAPI wsrprintf_arglist(LPSTR dest, int size, HINSTANCE module,
                            LPCSTR format, va_list args);

/* ---- System --------------------------------------------------------------- */

DWORD KTAPI GetProcessorCount(void);

/* ---- platform tests, file and window-placement helpers ---- */

/* 1 on the NT family, else 0. */
DWORD KTAPI IsWinNT(void);
/* 1 on the NT family from major version 5 (Windows 2000) on, else 0. */
DWORD KTAPI IsWin2K(void);

/* ---- registry values and configuration records ---- */

/* ---- dialog switches and the message box that honours them ---- */

/* ---- debug log and performance counters ---- */

/* ---- date-time text and local time ---- */

/* ---- name lookup, port and protocol text ---- */


#endif /* _WIN32 */

KT_EXTERN_C_END

#endif /* KTUTIL_H */
