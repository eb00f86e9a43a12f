// Network order is the order of the bytes in memory, whatever the processor.
#pragma once

#include <string.h>

#include "ktutil.h"

namespace kt {

inline DWORD NetToHostL(DWORD value) {
  BYTE b[4];
  memcpy(b, &value, 4);
  return (DWORD{b[0]} << 24) | (DWORD{b[1]} << 16) | (DWORD{b[2]} << 8) | b[3];
}

inline DWORD HostToNetL(DWORD value) {
  const BYTE b[4] = {BYTE(value >> 24), BYTE(value >> 16), BYTE(value >> 8), BYTE(value)};
  DWORD result;
  memcpy(&result, b, 4);
  return result;
}

inline WORD NetToHostS(WORD value) {
  BYTE b[2];
  memcpy(b, &value, 2);
  return static_cast<WORD>((b[0] << 8) | b[1]);
}

inline WORD HostToNetS(WORD value) {
  const BYTE b[2] = {BYTE(value >> 8), BYTE(value)};
  WORD result;
  memcpy(&result, b, 2);
  return result;
}

}  // namespace kt
