// The standard text of a security identifier, on every system (NT 4 has no
// conversion of its own).
#include "system/sid_text.h"

#include "ktutil.h"

namespace kt {

BOOL SidToText(PSID sid, LPSTR text, DWORD *size) {
  if (sid == nullptr || size == nullptr || !IsValidSid(sid)) return FALSE;
  const BYTE *authority = GetSidIdentifierAuthority(sid)->Value;
  const DWORD count = *GetSidSubAuthorityCount(sid);
  // Room for the longest text: "S-1-", a hexadecimal authority, and ten
  // digits and a dash per sub-authority.
  const DWORD needed = 28 + 12 * count;
  if (text == nullptr || *size < needed) {
    *size = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  const int room = static_cast<int>(needed);
  int length = wsnprintf(text, room, "S-%lu-", 1ul);
  if (authority[0] == 0 && authority[1] == 0) {
    const unsigned long value = static_cast<unsigned long>(authority[2]) << 24 |
                                authority[3] << 16 | authority[4] << 8 | authority[5];
    length += wsnprintf(text + length, room - length, "%lu", value);
  } else {
    length += wsnprintf(text + length, room - length, "0x%02hx%02hx%02hx%02hx%02hx%02hx",
                        authority[0], authority[1], authority[2], authority[3],
                        authority[4], authority[5]);
  }
  for (DWORD i = 0; i < count; ++i)
    length += wsnprintf(text + length, room - length, "-%lu",
                        static_cast<unsigned long>(*GetSidSubAuthority(sid, i)));
  return TRUE;
}

}  // namespace kt
