// The router option walk over option lists of any length: it reads nothing
// past the bytes given or past the 256 it may look at, and a router it
// finds is made of bytes found there after a code and a length.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "net/dhcp_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::vector<BYTE> options(data, data + size);  // exactly its size
  DWORD router = 0;
  if (!kt::FindRouterOption(options.data(), options.size(), &router)) return 0;
  const size_t seen = size < kt::kOptionInfoMaxBytes ? size : kt::kOptionInfoMaxBytes;
  for (size_t at = 2; at + 4 <= seen; ++at)
    if (data[at - 2] == 3 && memcmp(data + at, &router, 4) == 0) return 0;
  abort();
}
