// A 32-bit key over a block of bytes (icon data and the like) that never
// takes a value the hash table reserves: always at least 512, never all ones.
#pragma once

#include <cstddef>

#include "ktutil.h"

namespace kt {

// Whole 32-bit little-endian words only; trailing bytes are not used.
DWORD BlockHash(const void *block, size_t length);

}  // namespace kt
