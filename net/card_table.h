// The network-card table shared by the card queries and the settings
// getters: per card, the registry keys that hold its facts.
#pragma once

#include <windows.h>

#include "ktutil.h"

namespace kt {

// Platform codes; the 95/98 ones carry kNineX.
constexpr DWORD kPlatform95 = 17, kPlatform98 = 18, kPlatformNT = 32, kPlatform2000 = 64;
constexpr DWORD kNineX = 0x10;

constexpr DWORD kPathSize = 256;  // card paths, terminator included
constexpr DWORD kTextSize = 260;  // NCInfo texts and the keys composed for them

struct CardRecord {
  char descPath[kPathSize];
  char tcpipPath[kPathSize];  // empty when no TCP/IP binding was found
  char dhcpPath[kPathSize];   // empty when no DHCP slot was found
  DWORD flags;                // KTNC_
};

// The card's record, after building the table if it is not built; NULL when
// it cannot be built or card is past the count.
const CardRecord *FindCard(DWORD card);
// The platform code of the last build (0 before any).
DWORD CardPlatform();
// The card count of the last successful build, without building (0 when
// the table is not built).
DWORD BuiltCardCount();

// A text value below HKEY_LOCAL_MACHINE into dest (kTextSize characters);
// dest is empty when it cannot be read.
BOOL ReadText(const char *path, const char *value, char *dest);
// At most room bytes of a value of any type below HKEY_LOCAL_MACHINE; a
// shorter value leaves the rest of dest as it was. FALSE for an empty path.
bool ReadBinary(const char *path, const char *value, void *dest, DWORD room,
                DWORD *got = nullptr);

}  // namespace kt
