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

/* Containers store caller values and never free what they point to. Each is
 * created with a size hint of at least 16 (a power of two): twice as many
 * slots, doubled whenever an add finds them more than half used. None of the
 * three ever shrinks. The hash table and the map take no lock. */

/* Hash table of caller entries (never 0 or all ones), keyed by the number
 * the key function derives from each entry. With a collision function, an
 * entry whose key is taken moves on to the key that function returns for
 * the entry already there; it must return a different key. */
typedef struct KtHashTable *HHASHTABLE;
typedef DWORD(KTAPI *HASHKEYPROC)(LPVOID entry, LPVOID context);
typedef BOOL(KTAPI *HASHENUMPROC)(LPVOID entry, LPVOID context);

/* NULL when sizeHint is below 16, keyFunction is NULL or memory runs out. */
HHASHTABLE KTAPI HashCreate(DWORD sizeHint, HASHKEYPROC keyFunction,
                            HASHKEYPROC collisionFunction, LPVOID context);
void KTAPI HashDestroy(HHASHTABLE hash);
/* FALSE when no free slot was found on the entry's probe path, or when
 * memory ran out (64-bit builds widen their slots for an entry whose upper
 * half differs from the others'). */
BOOL KTAPI HashAddEntry(HHASHTABLE hash, LPVOID entry);
/* Removes that very entry (not another one with its key). */
BOOL KTAPI HashClrEntry(HHASHTABLE hash, LPVOID entry);
BOOL KTAPI HashClrAll(HHASHTABLE hash);
/* The first entry with this key along its probe path, or NULL. */
LPVOID KTAPI HashFindEntry(HHASHTABLE hash, DWORD key);
/* Visits the entries in slot order until callback (may be NULL) returns
 * FALSE; returns the number visited, the stopping one included. The
 * callback must not add or remove entries. */
DWORD KTAPI HashEnumEntries(HHASHTABLE hash, HASHENUMPROC callback);

/* Map of 32-bit keys (0 included) to values that are neither 0 nor all
 * ones. Keys are not checked for duplicates: the first stored is found and
 * removed first. Every operation accepts NULL and answers 0. */
typedef struct KtMap *HMAP;

HMAP KTAPI MapCreate(DWORD sizeHint);
void KTAPI MapDestroy(HMAP map);
/* FALSE when no free slot was found, or memory ran out widening, as for
 * HashAddEntry. */
BOOL KTAPI MapAddEntry(HMAP map, DWORD key, UINT_PTR value);
BOOL KTAPI MapClrEntry(HMAP map, DWORD key);
BOOL KTAPI MapClrAll(HMAP map);
/* The value, or 0 when the key is absent. */
UINT_PTR KTAPI MapFindEntry(HMAP map, DWORD key);

/* Multimap: each key holds a list of values (any value, 0 included), newest
 * first. Every operation holds the multimap's own lock, which is recursive:
 * an enumeration callback may call the multimap on its thread, but must not
 * add to or clear the key being enumerated. */
typedef struct KtMultiMap *HMULTIMAP;
typedef BOOL(KTAPI *MULTIMAPENUMPROC)(DWORD key, UINT_PTR value, LPVOID context);

HMULTIMAP KTAPI MultiMapCreate(DWORD sizeHint);
/* No other thread may use the multimap once this has begun. */
void KTAPI MultiMapDestroy(HMULTIMAP multi);
/* FALSE when no slot was found or memory ran out (nothing changes then). */
BOOL KTAPI MultiMapAddEntry(HMULTIMAP multi, DWORD key, UINT_PTR value);
/* Drops the key with all its values; FALSE when the key is absent. */
BOOL KTAPI MultiMapClrEntry(HMULTIMAP multi, DWORD key);
BOOL KTAPI MultiMapClrAll(HMULTIMAP multi);
/* Calls callback for each value of key, newest first; FALSE as soon as a
 * callback returns FALSE, else TRUE (also when the key is absent). */
BOOL KTAPI MultiMapEnumEntries(HMULTIMAP multi, DWORD key, MULTIMAPENUMPROC callback,
                               LPVOID context);

/* ---- tokenizer and URL, version and pattern parsing ---- */

/* A cursor is an index into a zero-terminated text, owned by the caller;
 * each operation reads from it and moves it past what it consumed, never
 * past the terminator. White space is blank and tab. Characters are
 * returned as unsigned byte values. */

/* Token flags, given to GetToken and read by GetTokenID from its table. */
#define KTTOKEN_DASH 0x1         /* "-" may occur in a token */
#define KTTOKEN_DIGITS 0x2       /* decimal digits may occur in a token */
#define KTTOKEN_PARTIAL 0x10000  /* GetTokenID: a keyword lacking its required
                                    following character still gives its id */
#define KTTOKEN_COMMENTS 0x40000 /* white space includes (nested) comments in
                                    parentheses and stops at a line end */
#define KTTOKEN_ANYSTART 0x80000 /* a token may begin with "_", "-" or a digit */

/* Keyword table of GetTokenID: an array of these records. The first is a
 * header of which only id is read, as the token flags. Then come entries
 * sorted by keyword without regard to case (the same keyword may repeat
 * with different follow characters), ended by one with id 0. */
typedef struct KTKEYWORD {
  LPCSTR keyword;
  DWORD id;                      /* not 0 */
  DWORD follow;                  /* required next character (low 8 bits) or 0 */
  const struct KTKEYWORD *next;  /* table for the next word, or NULL */
} KTKEYWORD;

/* The character at the cursor (0 at the end); the cursor does not move. */
int KTAPI GetChar(LPCSTR text, DWORD *cursor);
BOOL KTAPI IsSpace(int character);
/* Skip white space; return the character now at the cursor. */
int KTAPI GetSpace(LPCSTR text, DWORD *cursor);
int KTAPI GetWhiteSpace(LPCSTR text, DWORD *cursor, DWORD flags);
/* Moves to the next occurrence of character, from the cursor on; FALSE with
 * the cursor on the terminator when there is none. */
BOOL KTAPI SeekChar(LPCSTR text, DWORD *cursor, int character);
/* Copies at most maxChars characters (dest holds maxChars + 1): with a quote
 * character, a quoted string in which a doubled quote stands for one, else
 * the rest of the text. Trailing blanks are dropped; returns the length. */
DWORD KTAPI GetString(LPCSTR text, DWORD *cursor, LPSTR dest, DWORD maxChars, int quote);
/* A word of letters (and what flags allow) with the white space around it.
 * dest holds 65 characters: longer tokens are read over but cut to 64.
 * Returns the count stored, 0 when there is no token. */
DWORD KTAPI GetToken(LPCSTR text, DWORD *cursor, LPSTR dest, DWORD flags);
/* Decimal (modulo 2^32) and hexadecimal (at most 8 digits) numbers; 0 when
 * there is no digit. */
DWORD KTAPI GetTokenNum(LPCSTR text, DWORD *cursor);
DWORD KTAPI GetTokenHexNum(LPCSTR text, DWORD *cursor);
/* Reads keywords through the table and the tables chained to it; returns
 * the id of the last word matched, or 0. A word that matches nothing is
 * left unread. */
DWORD KTAPI GetTokenID(LPCSTR text, DWORD *cursor, const KTKEYWORD *table);
/* One line of text[cursor .. textLength), ended by a carriage return (with
 * its line feed), a zero or the length; a lone line feed belongs to the
 * line. Copies at most maxChars (dest, if not NULL, holds maxChars + 1) and
 * returns the line's full length. */
DWORD KTAPI GetLine(LPCSTR text, DWORD *cursor, DWORD textLength, LPSTR dest,
                    DWORD maxChars);

/* ParseURL result flags; 0 is failure. */
#define KTURL_HOST 0x1      /* a host name was read */
#define KTURL_IPADDRESS 0x2 /* a dotted IPv4 host was read */
#define KTURL_PATH 0x4      /* a path was read */
#define KTURL_PORT 0x8      /* a port that differs from the record's was read */
#define KTURL_QUERY 0x10    /* a query, from "?" on, was read */

/* The platform's IPv4 socket address layout, filled in host order (first
 * dotted part in the top byte of address): convert before using it with the
 * sockets interface. family is not touched. */
typedef struct URLADDRESS {
  WORD family;
  WORD port;
  DWORD address;
  BYTE zero[8];
} URLADDRESS;

/* Splits [scheme "://"] host [":" port] path ["?" query] at the cursor, up to
 * white space or a line end. The host is stored in lower case; "%" and two
 * hexadecimal digits in path and query stand for one byte. Each buffer (or
 * NULL) holds its max characters plus a terminator; longer parts are cut.
 * Fails (0) on a dotted part above 255 and on "//:" after a scheme. */
DWORD KTAPI ParseURL(const KTKEYWORD *schemes, LPCSTR text, DWORD *cursor, LPSTR path,
                     DWORD pathMax, LPSTR host, DWORD hostMax, LPSTR query,
                     DWORD queryMax, URLADDRESS *address);

/* Buffers of ParseHTTPUrl: each output holds this many characters. */
#define KT_URLPART_SIZE 256
/* Splits url into scheme (before the first ":"), host with port, and path
 * (from the first "/" after the host). A blank is appended to url, which
 * must have room for it. Outputs that receive something are terminated;
 * the others are left as they were. FALSE when ":" is not followed by "/". */
BOOL KTAPI ParseHTTPUrl(LPSTR url, LPSTR scheme, LPSTR hostPort, LPSTR path);

/* NAME/major.minor, NAME a keyword of table: major in the high 16 bits,
 * minor in the low ones; 0 when anything is missing or major is 0. */
DWORD KTAPI ParseVersion(const KTKEYWORD *table, LPCSTR text, DWORD *cursor);

/* TRUE when text, taken in upper case, matches pattern: "*" any run, "?"
 * one character, others themselves (so write patterns in upper case). The
 * empty pattern matches nothing; text that runs out right before a "*" of
 * the pattern matches, whatever follows that star. */
BOOL KTAPI MatchWithPattern(LPCSTR pattern, LPCSTR text);

/* ---- date-time values and arithmetic ---- */

/* Packed date and time in the MS-DOS layout, universal time by convention:
 * year - 1980 in bits 25-31, month 21-24, day 16-20, hour 11-15, minute 5-10,
 * second / 2 in 0-4. Unsigned order is time order. 0 and 0xFFFFFFFF mean
 * "no date" and, as range bounds, the open start and the open end. */
typedef DWORD DateTime;

/* Packs without validating; the year is stored modulo 128. */
DateTime KTAPI SystemTimeToDateTime(const SYSTEMTIME *st);
/* Unpacks every field (wMilliseconds 0, wDayOfWeek 0xFFFF for an impossible
 * date); st may be NULL. FALSE only for 0. */
BOOL KTAPI DateTimeToSystemTime(DateTime dt, SYSTEMTIME *st);
/* 0 (Sunday) to 6, or -1 for an impossible date or time. */
int KTAPI DateTimeDayOfWeek(DateTime dt);

/* In-place calendar arithmetic; counts may be negative and carry into the
 * larger units. Months clamp the day to the new month's length. */
int KTAPI SystemTimeDaysInMonth(const SYSTEMTIME *st);
void KTAPI SystemTimeAddMonths(SYSTEMTIME *st, int months);
/* Also steps wDayOfWeek; adding 0 changes nothing. */
void KTAPI SystemTimeAddDays(SYSTEMTIME *st, int days);
void KTAPI SystemTimeAddHours(SYSTEMTIME *st, int hours);
void KTAPI SystemTimeAddMinutes(SYSTEMTIME *st, int minutes);
void KTAPI SystemTimeAddSeconds(SYSTEMTIME *st, int seconds);
void KTAPI SystemTimeAddMilliSeconds(SYSTEMTIME *st, int milliseconds);
DateTime KTAPI DateTimeAddDays(DateTime dt, int days);
DateTime KTAPI DateTimeAddMinutes(DateTime dt, int minutes);
/* 00:00:00 and 23:59:58 of the same day. */
DateTime KTAPI StartOfDay(DateTime dt);
DateTime KTAPI EndOfDay(DateTime dt);

/* Range flags: low four bits 1 = start and end inside, 2 = start or end
 * inside; 0x10 includes the lower bound, 0x20 the upper bound. */
#define KT_RANGE_BOTH 1
#define KT_RANGE_EITHER 2
#define KT_RANGE_WITH_FROM 0x10
#define KT_RANGE_WITH_TO 0x20
BOOL KTAPI DateTimeInRange(DateTime t, DateTime from, DateTime to, DWORD flags);
/* end 0 is a range that has not ended yet. */
BOOL KTAPI DateRangeInRange(DateTime start, DateTime end, DateTime from, DateTime to,
                            DWORD flags);
/* Times of day are seconds since midnight. from <= t <= to, or both bounds
 * -1; a range that would wrap past midnight holds nothing. */
BOOL KTAPI TimeOfDayInRange(int t, int from, int to);
int KTAPI DateTimeToTimeOfDay(DateTime dt);
/* Date half 0; the second is rounded down to even. */
DateTime KTAPI TimeOfDayToDateTime(int seconds);

/* Locale-independent "yyyy/mm/dd hh.mm.ss" of the stored (UTC) value; the
 * result is as wsnprintf's. The reader takes any run of blanks between date
 * and time and validates nothing; text without a date reads as 0. */
int KTAPI NormDateTimeToStr(DateTime dt, LPSTR dest, int size);
DateTime KTAPI NormStrToDateTime(LPCSTR text);
/* Splits a duration in milliseconds; hours are not reduced to days. Any
 * pointer may be NULL. */
void KTAPI TicksToHMS(DWORD ticks, DWORD *hours, DWORD *minutes, DWORD *seconds,
                      DWORD *milliseconds);

/* ---- TextBuffer, address and port text, MD5 ---- */

/* The library's growable byte buffer. Set all fields to 0 before first use.
 * Functions that take one append to it; the bytes after length are always
 * terminated once storage exists, and no storage reads as the empty text.
 * The storage comes from the C run-time's malloc: release it with
 * free(data) and set the fields to 0 again. */
typedef struct TextBuffer {
  LPSTR data;
  DWORD capacity; /* bytes reserved */
  DWORD length;   /* bytes used, not counting the terminator */
} TextBuffer;

/* Addresses and masks hold the octets in network order in memory (the first
 * octet of the dotted text in the lowest-addressed byte), as in_addr does;
 * 0 is the only invalid address. Ports are in network order unless said. */

/* Both directions are the same byte swap on the supported processors. */
DWORD KTAPI ToggleNetHostL(DWORD value, BOOL toHost);
WORD KTAPI ToggleNetHostS(WORD value, BOOL toHost);
BOOL KTAPI InvalidIPAddress(DWORD address);
/* FALSE only for 128.0.0.0 up to 255.255.255.255 with contiguous one bits. */
BOOL KTAPI InvalidSubnetMask(DWORD mask);
/* "xx-xx-xx-xx-xx-xx" in lower case into dest (18 bytes); returns 17. */
int KTAPI EthAddrToStr(const BYTE *hardware, LPSTR dest);
/* Dotted decimal; returns a pointer to the terminator. 16 bytes always
 * suffice; a smaller size cuts the text (size 0 writes nothing). */
LPSTR KTAPI IPAddrToStr(DWORD address, LPSTR dest, int size);
/* "a.b.c.d:port" with the host-order port, or the address alone for port 0. */
void KTAPI IPInfoToStr(DWORD address, WORD port, LPSTR dest, int size);
/* Dotted text to address. Parts may be missing (1.2.3 is 0.1.2.3) or above
 * 255 (they spill into the next part); reading stops at the first character
 * that is neither a digit nor '.'. NULL gives 0. */
DWORD KTAPI StrToIPAddr(LPCSTR text);

/* IP protocol 17, 6, 2, 1 to the one-bit codes 1, 2, 4, 8 and back; 0 for
 * anything else (only the low 8 bits of subProto count). */
DWORD KTAPI IPProtoToSubProto(DWORD ipProto);
DWORD KTAPI SubProtoToIPProto(DWORD subProto);
/* The application protocol of a TCP or UDP port: 0x2000 for none. noProxy
 * drops the alternative web ports 81, 180, 8000 and 8080; noTerminal drops
 * Telnet, Finger, Whois, the time services and Gopher. */
DWORD KTAPI GetProtocolType(WORD port, BOOL noProxy, BOOL noTerminal);
/* Letters "UAPRSF" of the set flags (low six bits of flags); TRUE when at
 * least one is set. */
BOOL KTAPI GetTCPFlags(BYTE flags, LPSTR dest, int size);

/* A range of host-order ports; last 0 means the single port first. */
typedef struct PortPair {
  WORD first;
  WORD last;
} PortPair;
/* Appends "80, 1024-2048, 53" for count pairs; a piece that cannot be
 * stored is dropped and the rest still tried. */
void KTAPI PortPairDataToString(TextBuffer *text, const PortPair *pairs, UINT count);

/* MD5 of RFC 1321 with its reference interface; the caller owns the record. */
typedef struct MD5_CTX {
  DWORD state[4];  /* A, B, C, D */
  DWORD count[2];  /* bits processed mod 2^64, low word first */
  BYTE buffer[64]; /* input not yet transformed */
} MD5_CTX;

void KTAPI MD5Init(MD5_CTX *context);
void KTAPI MD5Update(MD5_CTX *context, const void *input, UINT length);
/* Writes the 16-byte digest, then zeroes the whole context. */
void KTAPI MD5Final(BYTE digest[16], MD5_CTX *context);

/* ---- network card and adapter records ---- */

/* One network card's facts as the registry holds them, filled field by
 * field by the card and settings getters (declared further down). A getter
 * that fails leaves its text field empty or its number 0. Texts are 260
 * characters with the terminator; the NT family keeps some as lists, whose
 * further entries follow the first after a NUL. */
typedef struct NCInfo {
  char serviceName[260];
  char description[260];
  char productName[260];
  char defaultGateway[260];
  char dhcpDefaultGateway[260];
  char driverName[260];
  char ipAddress[260];
  char subnetMask[260];
  char dhcpIPAddress[260];
  char dhcpServer[260];
  char dhcpSubnetMask[260];
  char dhcpSubnetMaskOpt[260];
  DWORD enableDHCP;          /* 0 or 1 */
  DWORD lease;               /* seconds */
  DWORD leaseObtainedTime;   /* seconds, as the platform counts them */
  DWORD leaseTerminatesTime;
  DWORD t1;                  /* renewal time */
  DWORD t2;                  /* rebinding time */
} NCInfo;

/* Card flags (GetNCFlags). */
#define KTNC_DIALUP 0x001        /* a dial-up, PPP or WAN adapter */
#define KTNC_TCPIP 0x010         /* TCP/IP is bound: the settings getters work */
#define KTNC_FIXED_ADDRESS 0x100 /* a fixed IP address is configured */
#define KTNC_DHCP_ADDRESS 0x200  /* a DHCP lease holds an address */

/* One address of an adapter; all in network order, gateway 0 when no
 * default route leads through the address's subnet. */
typedef struct IpAdapterAddress {
  DWORD address;
  DWORD mask;
  DWORD gateway;
  DWORD reserved;
} IpAdapterAddress;

/* One interface of the TCP driver (GetIpAdapterInfo). */
typedef struct IpAdapterInfo {
  char description[256];   /* at most 127 characters */
  DWORD index;             /* 1 to 255; 0 while no interface holds the slot */
  DWORD reserved;
  DWORD type;              /* MIB-II: 6 Ethernet, 23 PPP, 24 loopback, 28 SLIP */
  DWORD addressCount;      /* entries of addresses in use, 0 to 4 */
  IpAdapterAddress addresses[4];
  BYTE hardware[8];        /* the hardware address's first bytes, the rest 0 */
} IpAdapterInfo;

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
/* 1 on Windows 98 SE (4.10.2222) and later releases of the 95/98/ME family,
 * ME included; 0 on the NT family. Asked once, then remembered. */
DWORD KTAPI IsWin98SE(void);
/* 1 on Windows ME (4.90.3000) and later of the 95/98/ME family, else 0. */
DWORD KTAPI IsWinME(void);
/* "<platform>-<major>.<minor>.<build>-<service pack>-<SP|SMP>", cut to size;
 * platform is Win32s, Windows 95, Windows 98 (also ME), Windows NT or other.
 * Always TRUE. */
BOOL KTAPI GetOSVersionString(LPSTR dest, int size);
/* "Win32s on Windows 3.1", "Windows 95", "Windows 98" (also ME), "Windows NT"
 * or "Windows 2000" (also later), copied like strncpy: the rest of dest is
 * zero-filled and a name of size characters or more is not terminated.
 * FALSE, dest untouched, on an unknown platform. */
BOOL KTAPI GetPlatformNameInfo(LPSTR dest, UINT size);
/* The window's rectangle in its parent's client coordinates; the result is
 * that of the conversion (FALSE for a window without parent or owner). */
BOOL KTAPI GetParentRect(HWND window, RECT *rect);
/* Centres the window on the desktop work area, keeping its top-left corner
 * inside it; the result of moving it. */
BOOL KTAPI CenterWindow(HWND window);
/* TRUE when the file or directory exists. */
BOOL KTAPI FileExists(LPCSTR path);
/* Copies source to destination (never replacing one) and deletes source;
 * TRUE when both steps succeeded, else the copy is removed again. */
BOOL KTAPI MoveFileExEx(LPCSTR source, LPCSTR destination);
/* The user's documents folder, or the current directory when the folder is
 * unknown or size is below 260 (then cut to size). Always TRUE. */
BOOL KTAPI GetUserDirectory(HWND owner, LPSTR dest, UINT size);

/* ---- registry values and configuration records ---- */

/* Values are named by root key, subkey path and value name (NULL or empty:
 * the key's default value). Readers open the key for reading only; writers
 * create missing keys and report only whether the key could be opened. */
BOOL KTAPI GetRegistryValueString(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                  LPSTR buffer, DWORD bufferSize);
BOOL KTAPI SetRegistryValueString(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                  LPCSTR text);
/* defaultValue when the key or value is missing or longer than 4 bytes. */
DWORD KTAPI GetRegistryValueDWord(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                  DWORD defaultValue);
BOOL KTAPI SetRegistryValueDWord(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                 DWORD value);
BOOL KTAPI DeleteRegistryValue(HKEY root, LPCSTR subKey, LPCSTR valueName);
/* Scrambled texts: stored as "~" and the scrambled characters. The reader
 * also reads plain texts (not starting with "~") as they are, and gives the
 * empty text when the value cannot be read. */
BOOL KTAPI GetRegistryValueStringEnc(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                     LPSTR buffer, DWORD bufferSize);
BOOL KTAPI SetRegistryValueStringEnc(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                     LPCSTR text);

/* Records: opaque bytes stored as one REG_NONE value, below
 * HKEY_LOCAL_MACHINE or, for the Ex forms, below root. Loaders return TRUE
 * when the whole stored record fitted in size bytes, and leave the buffer
 * untouched otherwise; savers return 0 or the error of opening the key. */
BOOL KTAPI LoadConfig(LPVOID record, DWORD size, LPCSTR subKey, LPCSTR valueName);
BOOL KTAPI LoadConfigEx(HKEY root, LPVOID record, DWORD size, LPCSTR subKey,
                        LPCSTR valueName);
LONG KTAPI SaveConfig(LPCVOID record, DWORD size, LPCSTR subKey, LPCSTR valueName);
LONG KTAPI SaveConfigEx(HKEY root, LPCVOID record, DWORD size, LPCSTR subKey,
                        LPCSTR valueName);
/* The value at index (0 up) under HKEY_LOCAL_MACHINE\subKey; FALSE past the
 * last one or when its name or data do not fit. */
BOOL KTAPI EnumConfig(DWORD index, LPSTR name, DWORD nameSize, LPVOID data,
                      DWORD dataSize, LPCSTR subKey);

/* ---- dialog switches and the message box that honours them ---- */

/* Switches live per user under HKEY_CURRENT_USER
 * "Software\Tessaly\<program>\DialogControl", one value per switch name;
 * the plain forms use the program "Monitor". A missing switch or a non-zero
 * value means show. */
BOOL KTAPI GetDialogControl(LPCSTR switchName);
BOOL KTAPI GetDialogControlEx(LPCSTR program, LPCSTR switchName);
/* 0 on success, else the platform's error code for creating the key. */
LONG KTAPI SetDialogControl(LPCSTR switchName, DWORD value);
LONG KTAPI SetDialogControlEx(LPCSTR program, LPCSTR switchName, DWORD value);
/* KTMessageBox flag: bottom-right corner at the mouse cursor, not centred. */
#define KTMB_ATCURSOR 0x100
/* A message box with a "Don't show this message again" check box. Returns 0
 * without showing anything when switchName (of "Monitor") says do not show;
 * else 1 once OK was pressed (ticking the box clears the switch), -1 when
 * the box could not be created. Only OK closes it. */
int KTAPI KTMessageBox(HWND owner, LPCSTR switchName, LPCSTR text, LPCSTR caption,
                       DWORD flags);

/* ---- debug log and performance counters ---- */

/* Writes a printf-style message (cut to 1,023 characters, nothing added)
 * when category shares a bit with the debug flags: to the debugger output
 * when flag bit 0 is set, and appended to the log file when one is named.
 * Both settings come from HKEY_LOCAL_MACHINE\Software\Tessaly\Monitor
 * ("DebugFlags", "DebugLogFile"), read at the first message. */
void KTAPI DbgPrintf(DWORD category, LPCSTR format, ...);
/* Replaces the settings (logFileName NULL: no file) and, when
 * saveToRegistry, stores them; 0 when the key cannot be written. Called
 * before the first message, the stored settings still win then. */
BOOL KTAPI DbgSetLog(DWORD flags, LPCSTR logFileName, BOOL saveToRegistry,
                     UINT_PTR reserved);

/* A caller-owned record timing repeated events in counter ticks. */
typedef struct PerfCounter {
  ULONGLONG start;   /* counter value at the open event's start, else 0 */
  DWORD state;       /* PS_ bits below */
  DWORD frequency;   /* ticks per second */
  DWORD last;        /* duration of the last measured event */
  DWORD count;       /* measured events */
  DWORD total;       /* sum of the durations, modulo 2^32 */
  DWORD maximum;     /* longest duration */
} PerfCounter;
#define PS_USABLE 1u   /* the counter works */
#define PS_OPEN 2u     /* an event is open */
#define PS_MEASURED 4u /* the last end recorded a measurement */

/* PS_Init once, then PS_EventStart/PS_EventEnd pairs. PS_EventEnd with a
 * name sends "name: t=.. n=.. mean=.. max=.. (freq=..)" to the debugger. */
BOOL KTAPI PS_Init(PerfCounter *counter);
BOOL KTAPI PS_EventStart(PerfCounter *counter);
BOOL KTAPI PS_EventEnd(PerfCounter *counter, LPCSTR name);

/* ---- date-time text and local time ---- */

/* UTC <-> local time by the offset fixed when the library loaded. FALSE,
 * and nothing written, for 0 and 0xFFFFFFFF; st may be NULL. */
BOOL KTAPI DateTimeToLocalTime(DateTime dt, SYSTEMTIME *st);
BOOL KTAPI LocalTimeToUniversalTime(DateTime dt, SYSTEMTIME *st);
/* 0 and 0xFFFFFFFF are returned as they are. */
DateTime KTAPI LocalTime(DateTime dt);
DateTime KTAPI UniversalTime(DateTime dt);
/* The time at which GetTickCount showed ticks (within about 24.8 days of
 * now, either side). */
void KTAPI TicksToSystemTime(DWORD ticks, SYSTEMTIME *st);
void KTAPI TicksToLocalTime(DWORD ticks, SYSTEMTIME *st);
DateTime KTAPI TicksToDateTime(DWORD ticks);
DateTime KTAPI GetCurrentDateTime(void);
/* When the library started in this process. */
DateTime KTAPI GetStartDateTime(void);

/* Every writer below cuts its text to size and terminates it. */
/* Local short date, plus the 24-hour time unless it is midnight. */
void KTAPI DateTimeToStr(DateTime dt, LPSTR dest, int size);
/* kind 0: "All dates", 15: "Current session only", else "From .. to ..";
 * returns the count written. */
int KTAPI DateRangeToStr(int kind, DateTime from, DateTime to, LPSTR dest, int size);
/* "1h 0m 5s" and "1hours 0minutes"; the count written, 0 when the text does
 * not fit. */
int KTAPI TicksToHMSStr(DWORD ticks, LPSTR dest, int size);
int KTAPI TicksToDisplayStr(DWORD ticks, LPSTR dest, int size);
/* "1:2:3.4" with the locale's separators; negative when cut. */
int KTAPI TicksToHMSStrCond(DWORD ticks, LPSTR dest, int size);
/* "512 bytes", "1.50 KB", "2.25 MB" (1 KB = 1000 bytes); negative when cut. */
int KTAPI BytesToStr(DWORD bytes, LPSTR dest, int size);
/* Bit 1 Sunday .. bit 7 Saturday; three or more days in a row as a range. */
void KTAPI DaysToString(DWORD days, LPSTR dest, int size);
/* Two times of day in the user's time format, or "Always" for -1, -1;
 * returns the count written. */
int KTAPI TimeRangeToString(int from, int to, LPSTR dest, int size);

/* ---- name lookup, port and protocol text ---- */

struct sockaddr_in;

/* Name lookups through the blocking resolver of Windows Sockets; addresses
 * in network order, 0 (or count 0) when the lookup fails, with the reason
 * in WSAGetLastError. */
DWORD KTAPI NameToIPAddr(LPCSTR name);
/* Copies at most capacity addresses in the resolver's order. */
int KTAPI NameToIPAddresses(LPCSTR name, DWORD *addresses, int capacity);
/* WSAAsyncGetHostByName with the same arguments and result. */
HANDLE KTAPI NameToIPAddressesAsync(HWND window, UINT message, LPCSTR name,
                                    LPSTR buffer, int length);
/* WSACancelAsyncRequest: 0 on success. */
int KTAPI CancelAsyncLookup(HANDLE task);
/* IPInfoToStr of the record's address and port. */
void KTAPI INetAddrToStr(const struct sockaddr_in *address, LPSTR dest, int size);
/* Service name of a well-known port from the string table ("DNS"), with
 * withNumber "HTTP (TCP Port 80)"; otherwise "UDP Port 1234" ("TCP ",
 * "UDP " or no prefix by protocol). Returns the count written. */
int KTAPI GetPortString(DWORD ipProto, WORD port, BOOL withNumber, LPSTR dest,
                        int size);


/* ---- network cards, TCP/IP and DHCP settings, adapter table ---- */

/* The card table: the registry keys of each card, found when the library
 * loads (InitNetReport) and freed when it unloads (ExitNetReport). Every
 * query builds it first when it is not built, so a failed build is tried
 * again; ExitNetReport makes the next query read the registry afresh. Not
 * locked: nobody may rebuild or free it while another thread queries.
 * A card is an index from 0, in the registry's order of the card keys. */
BOOL KTAPI InitNetReport(void);
BOOL KTAPI ExitNetReport(void);
/* FALSE with 0 when there is no card key or the platform is unknown. */
BOOL KTAPI GetNumNetworkCards(DWORD *count);
/* The card's registry paths below HKEY_LOCAL_MACHINE (empty when it has
 * none), cut to size - 1 characters; FALSE, dest empty, for a bad index. */
BOOL KTAPI GetNCDescPath(DWORD card, LPSTR dest, DWORD size);
BOOL KTAPI GetNCTcpipPath(DWORD card, LPSTR dest, DWORD size);
BOOL KTAPI GetNCDhcpPath(DWORD card, LPSTR dest, DWORD size);
/* KTNC_ flags; FALSE with 0 for a bad index. */
BOOL KTAPI GetNCFlags(DWORD card, DWORD *flags);

/* Each getter fills its one field of info from the registry and returns
 * whether it could (the settings need KTNC_TCPIP). On 95/98 the lease
 * times are 315,561,600 seconds later than stored, as those systems count
 * from a later start than the NT family. */
BOOL KTAPI GetNCDescription(NCInfo *info, DWORD card);
BOOL KTAPI GetNCServiceName(NCInfo *info, DWORD card);
BOOL KTAPI GetNCProductName(NCInfo *info, DWORD card);
/* The file or image of the card's driver. */
BOOL KTAPI GetNCDriverName(NCInfo *info, DWORD card);
BOOL KTAPI GetDefaultGateway(NCInfo *info, DWORD card);
BOOL KTAPI GetDhcpDefaultGateway(NCInfo *info, DWORD card);
BOOL KTAPI GetIPAddress(NCInfo *info, DWORD card);
BOOL KTAPI GetSubnetMask(NCInfo *info, DWORD card);
BOOL KTAPI GetDhcpIPAddress(NCInfo *info, DWORD card);
BOOL KTAPI GetDhcpServer(NCInfo *info, DWORD card);
BOOL KTAPI GetDhcpSubnetMask(NCInfo *info, DWORD card);
BOOL KTAPI GetDhcpSubnetMaskOpt(NCInfo *info, DWORD card);
BOOL KTAPI GetEnableDHCP(NCInfo *info, DWORD card);
BOOL KTAPI GetLease(NCInfo *info, DWORD card);
BOOL KTAPI GetLeaseObtainedTime(NCInfo *info, DWORD card);
BOOL KTAPI GetLeaseTerminatesTime(NCInfo *info, DWORD card);
BOOL KTAPI GetT1(NCInfo *info, DWORD card);
BOOL KTAPI GetT2(NCInfo *info, DWORD card);
/* Every getter above on one record; always TRUE. */
BOOL KTAPI GetIndividualNCInfo(NCInfo *info, DWORD card);
/* Fills infos[0 .. count - 1] for the count of the table as last built
 * (GetNumNetworkCards); writes nothing while no table is built. TRUE. */
BOOL KTAPI GetAllNCInfo(NCInfo *infos);

/* Asks the running TCP driver for its interfaces. Interface i (the low 8
 * bits of the driver's index) goes to adapters[i - 1] when that is below
 * capacity; other elements stay zero. *highestIndex (may be NULL) receives
 * the highest i seen, also of interfaces that did not fit, so a call with
 * NULL adapters tells the capacity needed. Returns 0 when the driver cannot
 * be reached, else 1. */
DWORD KTAPI GetIpAdapterInfo(IpAdapterInfo *adapters, DWORD capacity,
                             DWORD *highestIndex);

/* ---- HTTP client ---- */

/* One blocking HTTP/1.0 exchange per call: the response is read until the
 * server closes the connection. host is a name or a dotted address, port a
 * host-order number, path the request target as sent (begin it with "/").
 * response, status and callback may each be NULL.
 *
 * *status is set to 0 on entry and, once the exchange completed, to the
 * status code, or -1 when the response does not start with a status line.
 * The body (every byte after the head, NULs included) is appended to
 * response, which is not cleared first, only for status 200.
 *
 * The Ex forms return TRUE when the exchange completed, whatever the
 * status; the others only for status 200. On FALSE the last error is
 * 12029 (no name lookup, socket or connection), 12153 (status 200 without
 * the empty line ending the head), 8 (out of memory), 87 (a null host or
 * path, a negative body length or a null body of non-zero length), or
 * what Windows Sockets set for a send or receive error. No time-outs,
 * retries or redirects; no response header is read. */

/* HttpProgress steps, in the order a POST goes through them. */
#define HTTP_STEP_LOCATING 4  /* the connect host is about to be looked up */
#define HTTP_STEP_CONNECTING 1
#define HTTP_STEP_SENDING 2
#define HTTP_STEP_RECEIVING 5
#define HTTP_STEP_FINISHED 3  /* the socket is closed; result is set */

/* Valid only during the callback. */
typedef struct HttpProgress {
  DWORD step;
  LPCSTR host;       /* connected to: the proxy server when one is used */
  DWORD port;        /* host order, of host above */
  LPCSTR target;     /* as sent on the request line */
  BOOL result;       /* HTTP_STEP_FINISHED only: the exchange completed */
  UINT_PTR userData; /* as passed by the caller */
} HttpProgress;
/* The result is ignored. Runs on the thread that made the request. */
typedef BOOL(KTAPI *HTTPPROGRESSPROC)(const HttpProgress *progress);

/* GET never uses a proxy and reports no progress: callback, userData and
 * reserved are accepted and not used. */
BOOL KTAPI HttpGetEx(LPCSTR host, WORD port, LPCSTR path, TextBuffer *response,
                     HTTPPROGRESSPROC callback, UINT_PTR userData, int *status,
                     UINT_PTR reserved);
BOOL KTAPI HttpGet(LPCSTR host, WORD port, LPCSTR path, TextBuffer *response,
                   HTTPPROGRESSPROC callback, UINT_PTR userData);
/* Posts bodyLength bytes of body (already form-encoded) as
 * application/x-www-form-urlencoded. The proxy comes from the registry:
 * the browser's setting ("ProxyEnable", "ProxyServer" as name:port) when
 * enabled, else the product's own ("HttpProxyEnabled", "HttpProxyServer",
 * "HttpProxyPort" under HKEY_LOCAL_MACHINE\Software\Tessaly) when all three
 * are set. Through a proxy the request target is "http://host[:port]/path"
 * (the port only when not 80) and the Host line still names host. */
BOOL KTAPI HttpPostFormEx(LPCSTR host, WORD port, LPCSTR path, const void *body,
                          int bodyLength, TextBuffer *response, HTTPPROGRESSPROC callback,
                          UINT_PTR userData, int *status, UINT_PTR reserved);
BOOL KTAPI HttpPostForm(LPCSTR host, WORD port, LPCSTR path, const void *body,
                        int bodyLength, TextBuffer *response, HTTPPROGRESSPROC callback,
                        UINT_PTR userData);

/* ---- update agent ---- */

/* Asks the update server whether a newer version of product (the subkey of
 * HKEY_LOCAL_MACHINE\Software\Tessaly holding its "CurrentVersion") exists
 * and offers it to the user. Flags:
 *   CHECKUPDATE_BACKGROUND  only when due (no offer pending, or its
 *     reminder has come); nothing is shown unless an update is found, and
 *     the call returns 1 at once while the check runs on its own thread.
 *   CHECKUPDATE_ALWAYS  ask nothing: the update is offered as available.
 * An interactive check shows its progress (Cancel ends the wait) and its
 * outcome; it returns 1 when an update was offered, none was available or
 * the user cancelled, 0 on an error or when the server could not be
 * asked (then the server's update page opens in the browser instead). 0 at
 * once while another check of the process, or its worker, still runs. */
#define CHECKUPDATE_ALWAYS 0x20
#define CHECKUPDATE_BACKGROUND 0x40
DWORD KTAPI CheckForUpdate(HWND owner, LPCSTR product, DWORD flags);

/* ---- processes, system report, file facts, user identity ---- */

/* TRUE when a running program is the given file, named by its full path in
 * any form (long or 8.3) or, with KTMR_BASENAME, by its bare file name.
 * Only programs this process may open for reading are seen. */
#define KTMR_BASENAME 0x1
BOOL KTAPI IsModuleRunningEx(LPCSTR module, int flags);
BOOL KTAPI IsModuleRunning(LPCSTR module);
/* TRUE when a screen saver runs now. */
BOOL KTAPI IsScreenSaverRunning(void);
/* The program path of a process into name (cut to size): TRUE. FALSE with an
 * "Unknown Process: <id> (...)" text instead, or nothing for size 0. On the NT
 * family process is the caller's handle with query and read rights and
 * parentId is untouched; on 95/98/ME the id is looked up and parentId (may be
 * NULL) receives its parent's id. */
BOOL KTAPI KTGetProcessInfo(HANDLE process, DWORD processId, LPSTR name, int size,
                            DWORD *parentId);
/* The long form of path (the path itself when the shell cannot resolve it),
 * cut to size; returns the length written. */
DWORD KTAPI KTGetLongPathName(LPCSTR path, LPSTR dest, DWORD size);

/* Replaces the buffer's contents by a diagnostic text about this machine:
 * Winsock, file versions, system, processor, memory. Always 0. */
int KTAPI GetSystemReport(TextBuffer *report);

/* GetAppInfo request flags: what to fill in the caller's record. */
#define KTAI_DESCRIPTION 0x1
#define KTAI_PRODUCTVERSION 0x2
#define KTAI_LONGPATH 0x4
#define KTAI_CHECKSUM 0x10
#define KTAI_FILETIME 0x80
#define KTAI_FILESIZE 0x100
#define KTAI_COMPANY 0x200 /* this and the texts below need 0x1 or 0x2 too */
#define KTAI_FILEVERSION 0x400
#define KTAI_INTERNALNAME 0x800
#define KTAI_COPYRIGHT 0x1000
#define KTAI_ORIGINALNAME 0x2000
#define KTAI_PRODUCTNAME 0x4000
#define KTAI_LANGUAGE 0x8000
#define KTAI_TRADEMARKS 0x10000
#define KTAI_SIGNATURE 0x20000 /* only in a record of the full size */
#define KTAI_DIGEST 0x40000    /* only in a record of the full size */
#define KTAI_FULLSIZE 1216

/* Signature status of a program file. */
#define KTSIG_UNTRUSTED 0
#define KTSIG_TRUSTED 1
#define KTSIG_UNKNOWN 2

/* Facts about one program file, filled by GetAppInfo under its flags; texts
 * are terminated and cut to their fields. Set size first: KTAI_FULLSIZE, or
 * 1212 for a record without the signature status and digest. */
typedef struct AppInfo {
  DWORD size;
  char description[63];
  char longPath[261];
  char productVersion[63];
  DWORD checksum; /* sum of the file's words; 0xFFFFFFFF when unreadable */
  BYTE reserved1[264];
  DateTime fileTime; /* last write, as the file system keeps it; 0 if unknown */
  DWORD fileSize;    /* low 32 bits */
  char company[63];
  char fileVersion[63];
  char internalName[63];
  char copyright[63];
  char originalName[63];
  char productName[63];
  char language[63];
  char trademarks[63];
  DWORD signatureStatus; /* KTSIG_ */
  BYTE digest[16];       /* MD5 of the file; all 0xFF when unreadable */
  BYTE reserved2[24];
} AppInfo;

/* info NULL does nothing. */
void KTAPI GetAppInfo(LPCSTR path, DWORD flags, AppInfo *info);
/* The "FileVersion" text of a Windows 95 virtual device driver, cut to
 * size; FALSE when the file has none. */
BOOL KTAPI VXDGetFileVersion(LPCSTR path, LPSTR dest, DWORD size);
/* Loads the library only when its signature verifies as trusted; else NULL. */
HMODULE KTAPI SafeLoadLibrary(LPCSTR path);

/* The user behind process (NT family; the caller opens it with query
 * rights) as "ntdomain:<domain>/<user>?<SID>", "ntlocal:computer=<computer>;
 * userid=<user>" or "ntlocal:Unknown"; on 95/98/ME "win95:<computer>/<user>".
 * Cut to size. */
void KTAPI GetCanonicalUserID(HANDLE process, LPSTR dest, DWORD size);
/* TRUE when the current user is an administrator (always on 95/98/ME). */
BOOL KTAPI IsAdmin(void);

/* On the NT family, one process-wide record whose descriptor grants every
 * user every access (a null access list), handles inherited; prepared on the
 * first call and never freed. NULL on the 95/98/ME family. */
LPSECURITY_ATTRIBUTES KTAPI GetSecurityAttributes(void);

/* ---- security service control, login, installer entry points ---- */

/* The service is reached through its monitor API, "ktmonapi.dll", loaded
 * by name for the length of each operation; without it (or any of its
 * entries) the operations answer 0 and show nothing. */

/* QueryPasswordDlg modes; modes above 3 act as KTPWD_SET. */
#define KTPWD_SET 0        /* choose a password: password and verify rows */
#define KTPWD_ENTER 1      /* enter the password: its row alone */
#define KTPWD_CHANGE 2     /* old password, new one and verify */
#define KTPWD_CONFIRMOLD 3 /* the old password before setting a new one */

/* The password dialog. TRUE when the user pressed OK and the input passed
 * the mode's checks (6 to 31 characters, the verify field equal; in
 * KTPWD_ENTER and KTPWD_CONFIRMOLD any length below 32; in KTPWD_CHANGE
 * an empty password after a warning): the password, and the old one when
 * old is not NULL, are then copied, each cut to its size. Centred on the
 * screen without a parent. */
BOOL KTAPI QueryPasswordDlg(HWND parent, DWORD mode, LPSTR password, DWORD size,
                            LPSTR old, DWORD oldSize, UINT_PTR reserved);
/* Logs on to the service and sets newPassword (NULL: none). While the
 * logon lacks the rights, asks for the current password (KTPWD_CONFIRMOLD)
 * until it is right or the user cancels. TRUE when the new password is set
 * and the logon holds the rights afterwards. The logon stays open. */
BOOL KTAPI KTLoginSetPassword(HWND parent, LPCSTR newPassword);
/* Asks the service to unload itself, after a question (none when password
 * is "" and the logon already holds the rights) or, lacking the rights,
 * with password or one try of the password dialog. Returns at once,
 * always FALSE. */
BOOL KTAPI KTUnloadService(HWND parent, LPCSTR password);
/* Posts command 129, then WM_CLOSE, to the top-level "WRFrameWnd" window;
 * FALSE when there is none. */
BOOL KTAPI PrepareToClose(void);
/* Sets the description of "ktmon" or "minilog" (any case) through the
 * caller's service handle, opened with SERVICE_CHANGE_CONFIG: 0, or the
 * system's error code; 1814 (ERROR_RESOURCE_NAME_NOT_FOUND) for any other
 * name. 0 without doing anything before Windows 2000. */
DWORD KTAPI KTChangeServiceDesc(SC_HANDLE service, LPCSTR name);

/* The installer's parameter block. Variables are named "%NAME%" in its
 * tables: name slot i at names + i * nameWidth, its value at values +
 * i * valueWidth. */
typedef struct WSEParams {
  DWORD size;       /* bytes: 44 in the product's 32-bit build */
  HWND window;      /* the installer's window */
  DWORD capacity;   /* variables the tables hold */
  DWORD nameWidth;  /* characters per name slot */
  DWORD valueWidth; /* characters per value slot */
  DWORD used;       /* variables in use */
  LPSTR names;
  LPSTR values;
  UINT_PTR reserved[2];
  LPCSTR argument;  /* the entry point's argument text */
} WSEParams;

/* FALSE for a NULL block or one whose size ends before argument; else
 * IsModuleRunning(argument). */
BOOL KTAPI WSEIsModuleRunning(WSEParams *params);
/* Waits argument (decimal) milliseconds, a negative number or none as 0;
 * FALSE at once for a block refused as by WSEIsModuleRunning. */
BOOL KTAPI WSEDelay(WSEParams *params);
/* TRUE on the 95/98/ME family when every adapter of the TCP driver's table
 * is a dial-up kind (PPP, SLIP, loopback, or a "Dial-Up Adapter", "PPP
 * Adapter" or "AOL Adapter"), also when there is none; else FALSE. */
BOOL KTAPI WSEWin9xDialupOnly(void);
/* argument "subkey, value, VARIABLE": reads HKEY_LOCAL_MACHINE\subkey's
 * value (at most 512 characters) into installer variable %VARIABLE%: the
 * variable is overwritten, or added while the tables have room (dropped
 * otherwise). FALSE, nothing set, when the text lacks a comma or the value
 * cannot be read. */
BOOL KTAPI WSEGetRegistryValue(WSEParams *params);
/* KTUnloadService(window, argument); FALSE also when an exception passes. */
BOOL KTAPI WSEUnloadService(WSEParams *params);

/* ---- strip graph, bar gauge and layout bar controls ---- */

/* Window classes registered when the library loads, usable from any module
 * of the process by name (CreateWindowEx or a dialog template); a program
 * that uses nothing else of the library must still load it. Neither
 * control takes keyboard focus. Each keeps its state in a block made at
 * WM_CREATE: when it cannot be made, the window is not created. */
#define KT_STRIPGRAPH_CLASS "KTStripGraph"
#define KT_BARGAUGE_CLASS "KTBarGauge"

/* Strip graph: two series drawn one pixel column per sample, the first as
 * red bars rising from the middle, the second as green bars falling from it,
 * on a black background with a green grid that scrolls with the data; the
 * window text at the top left, the label at the top right. Its capacity is
 * its client width: it holds at most width - 1 committed samples and one
 * open sample that SGM_SETVALUE writes and SGM_ADVANCE commits. Series
 * numbers other than 0 and 1 are ignored (the getters give 0). A scale with
 * maximum equal to minimum draws no bars; a value far beyond the scale runs
 * its bar past the edge, cut by the window. */
#define SGM_SETRANGE (WM_USER + 1) /* wParam minimum, lParam maximum */
#define SGM_GETMAX (WM_USER + 2)   /* wParam series: largest committed value, >= 0 */
#define SGM_SETVALUE (WM_USER + 3) /* wParam series, lParam value: the open sample
                                      (only once a sample has been committed) */
#define SGM_GETVALUE (WM_USER + 4) /* wParam series: the open sample's value */
#define SGM_SETLABEL (WM_USER + 5) /* lParam text (NULL ignored), cut to 254 characters */
#define SGM_GETLABEL (WM_USER + 6) /* wParam buffer size, lParam buffer (NULL ignored):
                                      the label, cut to the size and terminated */
#define SGM_ADVANCE (WM_USER + 7)  /* commits the open sample, opens the next one */

/* Bar gauge: two values as horizontal bars of 6-pixel blocks with 1-pixel
 * gaps (red, then green), each with a peak marker that holds the highest
 * value until the next tick of the peak timer (every 2 seconds until
 * changed) and the value as a number at the bar's right end. The control
 * sets its own height at creation: text height + 23 pixels, plus the client
 * edge. A value outside the scale draws an empty bar below it and a full
 * bar above it; a scale whose maximum does not exceed its minimum draws
 * empty bars. Bar numbers other than 0 and 1 are ignored (the getter
 * gives 0). */
#define BGS_NOTEXT 0x0001          /* no caption and label strip above the bars */
#define BGS_BLACKBACKGROUND 0x0002 /* erased with black instead of the window colour */
#define BGM_SETMIN (WM_USER + 1)      /* wParam scale minimum (default 0) */
#define BGM_SETMAX (WM_USER + 2)      /* wParam scale maximum (default 100) */
#define BGM_SETVALUE (WM_USER + 3)    /* wParam bar, lParam value */
#define BGM_GETVALUE (WM_USER + 4)    /* wParam bar */
#define BGM_SETLABEL (WM_USER + 5)    /* lParam text (NULL ignored), cut to 254 chars */
#define BGM_GETLABEL (WM_USER + 6)    /* wParam buffer size, lParam buffer (or NULL) */
#define BGM_SETPEAKTIME (WM_USER + 7) /* wParam peak timer period in milliseconds */

/* Layout bar: a splitter between two panes of its parent, dragged with the
 * mouse. Its place is kept as a permille of the free length of the layout
 * area (area length - bar thickness) or, with LYBS_PIXELS, as a pixel
 * offset from the area's start. The parent receives WM_PARENTNOTIFY with
 * the bar's identifier in the high word of wParam and in the low word:
 *   WM_MOVE (3)      the bar moved and its place was recomputed (not sent
 *                    for the move at creation); lParam the new origin
 *   0x0200           a drag ended by releasing the button, before the bar
 *                    moves; lParam the bar's new left edge
 *   WM_MOVING        the bar window itself is being moved; lParam points at
 *                    the proposed screen rectangle, already held inside the
 *                    area.
 * A drag stops at the area's ends (a horizontal bar may end one pixel below
 * it); in an area shorter than the bar it stays at the area's start. A bar
 * moved before the area's start reads as 0 permille; one in an area no
 * longer than itself keeps its permille. */
#define LYBS_HORIZONTAL 0x0001 /* between an upper and a lower pane; else vertical */
#define LYBS_PIXELS 0x0002     /* the position is in pixels, not permille */

/* A hidden child bar at (0, 0), thickness pixels thick (0: the system's
 * frame width), background the system colour colorIndex (taken from the
 * process's first call; later calls keep the class), child identifier id.
 * position is a permille (cut to 1000) or, with LYBS_PIXELS, pixels (cut to
 * 65535). NULL when the class or the window cannot be made. */
HWND KTAPI CreateLayoutBar(HWND parent, WORD flags, UINT position, int thickness,
                           int colorIndex, UINT id);
/* Places and shows the bar in area (parent client coordinates) and copies
 * its new rectangle to barRect when not NULL. Nothing for a window that is
 * not a layout bar. */
void KTAPI SizeLayoutBar(HWND bar, RECT area, RECT *barRect);
/* The bar's place in permille (0 to 1000); 0 for a window that is not a
 * layout bar. */
UINT KTAPI GetLayoutBarPermille(HWND bar);

/* ---- list-view and rich-edit printing and export, window and control helpers ---- */

/* The platform's print dialog record (PRINTDLGA of <commdlg.h>). */
struct tagPDA;

/* Prints the first columns of a report-style list view as a ruled table,
 * one inch inside the paper's edges, headings repeated on every page; the
 * header goes above the table, the footer and "page N" below it (each NULL
 * for none). Widths keep their proportions across the page; a column too
 * narrow for its heading takes the room from the first column. With too
 * little memory, last error ERROR_NOT_ENOUGH_MEMORY and nothing printed. */
void KTAPI ListView_Print(HDC printer, HWND listView, int columns, LPCSTR docName,
                          LPCSTR header, LPCSTR footer);
/* Prints a rich-edit control's text page by page on printDialog's hDC,
 * with header, footer and page numbers as above; stops as soon as the
 * control lays out nothing more. FALSE, last error ERROR_INVALID_PARAMETER,
 * without a record or device context; FALSE when the job cannot start. */
BOOL KTAPI PrintRichEditWnd(HWND richEdit, struct tagPDA *printDialog, LPCSTR docName,
                            LPCSTR header, LPCSTR footer);
/* A delimited text file: a heading line, then one line per item (CR LF).
 * Cells with a comma are put in double quotes, TABs become spaces; cells
 * and headings that cannot be read are left out with their separator.
 * FALSE only when the file cannot be created. */
BOOL KTAPI ListView_SaveToFile(HWND listView, int columns, LPCSTR path,
                               UINT_PTR reserved, LPCSTR separator);
/* The same table as a plain HTML page titled title; nothing is escaped. */
BOOL KTAPI ListView_SaveToHTMLFile(HWND listView, int columns, LPCSTR path,
                                   LPCSTR title, UINT_PTR reserved);
/* First item after the focused one (from item 0 when none, or item 0, has
 * the focus) with text in one of the columns; -1 when none, no wrapping. */
int KTAPI ListView_FindText(HWND listView, int columns, LPCSTR text, BOOL matchCase);
/* "Printed by <user> at <printer> on <local time>", without the printer
 * when printDialog (may be NULL) names none. Always TRUE. */
BOOL KTAPI GetPrintInfoString(const struct tagPDA *printDialog, LPSTR dest, int size);

/* Icon data block: a 48-byte header (tag 0x1001, colour and mask byte
 * counts, colour and mask width and height), 8-bit colour bits in a fixed
 * 256-colour palette (bottom-up rows of 4-byte multiples), then the
 * monochrome mask (top-down rows of 2-byte multiples). hash is a 32-bit key
 * of the colour bits, at least 512 (0 when they could not be read). Any out
 * pointer may be NULL; FALSE, and nothing written, for a monochrome icon or
 * one that cannot be read. */
BOOL KTAPI GetIconData(HICON icon, LPVOID *block, DWORD *size, DWORD *hash);
void KTAPI FreeIconData(LPVOID block);
/* Also reads the older tag-0 block: two 24-byte bitmap records (colour,
 * mask) and their bits. NULL when size disagrees with the block's own. */
HICON KTAPI CreateIconFromIconData(LPCVOID block, DWORD size);
/* MessageBoxA on a thread of its own; text and caption are copied (cut to
 * 255 characters). The thread's exit code is the box's result; the caller
 * closes the handle. */
HANDLE KTAPI AsyncMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
/* Posts the message after delay milliseconds (at once for 0). At most 10
 * wait at a time: FALSE with ERROR_NOT_ENOUGH_MEMORY beyond that. */
BOOL KTAPI PostDelayedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              DWORD delay);
/* Flashes one window's caption at the caret blink rate, through a timer of
 * the calling thread (which must dispatch messages), until called with
 * FALSE. */
BOOL KTAPI EnableFlashWindow(HWND window, BOOL enable);
/* Paints the window's text, lines of key=value or key<TAB>value, as keys
 * on the left and values right-aligned; returns the font selected before. */
HFONT KTAPI PaintTooltipTST(HWND tooltip, HDC dc);
/* DEFAULT_GUI_FONT, or NULL before platform version 4. */
HFONT KTAPI GetDefaultGUIFont(void);
BOOL KTAPI SetWindowHeight(HWND window, int height);
/* The system's text for code in an information box. */
void KTAPI ShowSystemError(HWND owner, DWORD code);

/* Common-control wrappers: each sends one message and returns its result. */
LRESULT KTAPI CoolBar_AddWindowBand(HWND rebar, HWND child, UINT id, UINT minWidth,
                                    LPCSTR text);
/* An extended combo box (drop-down list, 200 x 200 at 0, 0). */
HWND KTAPI CBCreate(HWND parent, HINSTANCE instance, UINT id);
/* image -1: none. FALSE when the control refuses the item. */
BOOL KTAPI CBAddItem(HWND comboEx, LPCSTR text, LPARAM data, int image);
BOOL KTAPI CBInsertItem(HWND comboEx, int index, LPCSTR text, LPARAM data, int image);
BOOL KTAPI CBAddItemRes(HWND comboEx, HINSTANCE module, UINT stringId, LPARAM data);
/* The first item holding data, or -1. */
int KTAPI CBFindData(HWND combo, LPARAM data);
int KTAPI CBSelectData(HWND combo, LPARAM data);
/* A tool covering window whose text the tooltip asks of owner. */
LRESULT KTAPI TTAddWindowTool(HWND tooltip, HWND window, HWND owner);
/* The value as stored, no local-time conversion; Get gives 0 when the
 * picker holds no valid date. */
LRESULT KTAPI DateTime_SetDateTime(HWND picker, DateTime dt);
DateTime KTAPI DateTime_GetDateTime(HWND picker);
/* Streams text (RTF; NULL reads as empty) into the control. */
LRESULT KTAPI SetRichEditText(HWND richEdit, LPCSTR text);

#endif /* _WIN32 */

KT_EXTERN_C_END

#endif /* KTUTIL_H */
