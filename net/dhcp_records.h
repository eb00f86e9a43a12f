// The binary DHCP lease values that 95 and 98 keep per card; portable.
#pragma once

#include <stddef.h>

#include "ktutil.h"

namespace kt {

// The 95 lease record "DhcpInfo": 32-bit fields at fixed offsets, addresses
// in network order and numbers little-endian, both as stored.
constexpr size_t kDhcpInfoMaxBytes = 64;
enum DhcpInfoField : size_t {
  kDhcpAddress = 4,
  kDhcpMask = 8,
  kDhcpServer = 12,
  kDhcpLease = 20,
  kDhcpObtained = 24,
  kDhcpT1 = 28,
  kDhcpT2 = 32,
  kDhcpTerminates = 36,  // after T1 and T2, not before
};

// The field of a record of length bytes; false for a record longer than
// the lease record or ending before the field.
bool ReadDhcpInfo(const BYTE *record, size_t length, DhcpInfoField field, DWORD *value);

// "OptionInfo": the lease's DHCP options, each a code, a length and that many
// bytes, until code 255; code 0 is followed by one byte and no length.
constexpr size_t kOptionInfoMaxBytes = 256;

// The first address of the router option (code 3); false when the options
// end, or run out of bytes, before one.
bool FindRouterOption(const BYTE *options, size_t length, DWORD *router);

}  // namespace kt
