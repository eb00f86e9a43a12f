// Readers of the 95/98 DHCP lease values; portable.
#include "net/dhcp_records.h"

#include <string.h>

namespace kt {

bool ReadDhcpInfo(const BYTE *record, size_t length, DhcpInfoField field, DWORD *value) {
  if (record == nullptr || length > kDhcpInfoMaxBytes || length < field + 4) return false;
  // Little-endian numbers and network-order addresses both come out as
  // stored on the processors the library runs on.
  memcpy(value, record + field, 4);
  return true;
}

bool FindRouterOption(const BYTE *options, size_t length, DWORD *router) {
  constexpr BYTE kEnd = 255, kPad = 0, kRouter = 3;
  if (options == nullptr) return false;
  if (length > kOptionInfoMaxBytes) length = kOptionInfoMaxBytes;
  size_t at = 0;
  while (at < length) {
    const BYTE code = options[at++];
    if (code == kEnd) return false;
    size_t size = 1;  // the pad code skips one byte without a length byte
    if (code != kPad) {
      if (at == length) return false;
      size = options[at++];
    }
    if (code == kRouter) {
      if (length - at < 4) return false;
      memcpy(router, options + at, 4);
      return true;
    }
    at += size;
  }
  return false;
}

}  // namespace kt
