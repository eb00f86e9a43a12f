// The version-resource check over arbitrary bytes, held in a buffer of
// exactly their size so the sanitizers catch any read past it; a resource
// it accepts has its root inside the bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "system/version_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::unique_ptr<unsigned char[]> bytes(new unsigned char[size]);
  if (size > 0) std::memcpy(bytes.get(), data, size);
  if (kt::VersionResourceIsSound(bytes.get(), size) &&
      static_cast<size_t>(bytes[0] | bytes[1] << 8) > size)
    std::abort();
  return 0;
}
