#include "containers/block_hash.h"

namespace kt {

namespace {
bool Reserved(DWORD h) { return h < 512 || h == 0xFFFFFFFFu; }
}  // namespace

DWORD BlockHash(const void *block, size_t length) {
  const BYTE *bytes = static_cast<const BYTE *>(block);
  DWORD h = 0;
  for (size_t i = 0; i + 4 <= length; i += 4) {
    DWORD word = bytes[i] | DWORD{bytes[i + 1]} << 8 | DWORD{bytes[i + 2]} << 16 |
                 DWORD{bytes[i + 3]} << 24;
    h = RotateLeft(h, 1) ^ word;
  }
  if (Reserved(h)) {
    if (length >= 4) h ^= bytes[0];
    if (Reserved(h)) h += 513;
  }
  return h;
}

}  // namespace kt
