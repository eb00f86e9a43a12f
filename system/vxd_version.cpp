// The version of a Windows 95 virtual device driver, whose resource the
// version API cannot find: the driver's header says where it is.
#include <stdio.h>
#include <string.h>

#include <memory>
#include <new>

#include "ktutil.h"
#include "system/version_block.h"

namespace {

constexpr long kResourceOffsetAt = 312;
// A version resource's blocks measure their length in 16 bits.
constexpr DWORD kLargestResource = 0xFFFF;

bool ReadDword(FILE *file, DWORD *value) {
  unsigned char bytes[4];
  if (fread(bytes, 1, 4, file) != 4) return false;
  *value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24;
  return true;
}

}  // namespace

extern "C" BOOL KTAPI VXDGetFileVersion(LPCSTR path, LPSTR dest, DWORD size) {
  if (path == nullptr) return FALSE;
  std::unique_ptr<FILE, int (*)(FILE *)> file(fopen(path, "rb"), fclose);
  DWORD offset, length;
  // At the offset: 8 bytes, the resource's length, the resource.
  if (!file || fseek(file.get(), kResourceOffsetAt, SEEK_SET) != 0 ||
      !ReadDword(file.get(), &offset) ||
      _fseeki64(file.get(), static_cast<__int64>(offset) + 8, SEEK_SET) != 0 ||
      !ReadDword(file.get(), &length))
    return FALSE;
  // Bytes past the largest possible resource are never looked at.
  if (length > kLargestResource) length = kLargestResource;
  std::unique_ptr<unsigned char[]> resource(new (std::nothrow) unsigned char[length + 1]);
  if (!resource) return FALSE;
  const size_t got = fread(resource.get(), 1, length, file.get());
  kt::VersionBlock block;
  char key[9];
  UINT textLength;
  const char *version = nullptr;
  if (block.LoadBytes(resource.get(), got) && block.Translation(key, nullptr))
    version = block.Text(key, "FileVersion", &textLength);
  if (version == nullptr) return FALSE;
  if (dest != nullptr && size > 0) kt::CopyVersionText(dest, size, version, textLength);
  return TRUE;
}
