// Version resources through the version API, after a structural check: the
// API trusts the lengths stored in the resource.
#include "system/version_block.h"

#include <cstring>
#include <new>

#include "ktutil.h"
#include "system/version_resource.h"

namespace kt {

namespace {

// Wide resources get room for their texts' ANSI copies behind them, which
// the version API writes there: at most as many bytes again, plus 4.
size_t RoomFor(size_t resource) { return resource * 2 + 4; }

}  // namespace

VersionBlock::Outcome VersionBlock::LoadFile(const char *path) {
  data_.reset();
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &unused);
  if (size == 0) return kNoResource;
  data_.reset(new (std::nothrow) char[size]());
  if (!data_) return kNoResource;
  if (GetFileVersionInfoA(path, 0, size, data_.get())) {
    // The API sized the buffer as RoomFor(resource) for a wide one.
    const auto *bytes = reinterpret_cast<const unsigned char *>(data_.get());
    const bool wide = size >= 6 && bytes[4] < ' ';
    if (VersionResourceIsSound(bytes, wide ? (size - 4) / 2 : size)) return kRead;
  }
  data_.reset();
  return kUnreadable;
}

bool VersionBlock::LoadBytes(const void *bytes, size_t count) {
  data_.reset(new (std::nothrow) char[RoomFor(count)]());
  if (!data_) return false;
  memcpy(data_.get(), bytes, count);
  if (VersionResourceIsSound(reinterpret_cast<const unsigned char *>(data_.get()), count))
    return true;
  data_.reset();
  return false;
}

bool VersionBlock::Query(const char *subBlock, void **value, UINT *length) {
  *value = nullptr;
  *length = 0;
  return data_ && VerQueryValueA(data_.get(), subBlock, value, length) &&
         *value != nullptr;
}

const char *VersionBlock::Text(const char *key, const char *name, UINT *length) {
  char query[128];
  wsnprintf(query, sizeof query, "\\StringFileInfo\\%s\\%s", key, name);
  void *value;
  return Query(query, &value, length) && *length > 0 ? static_cast<const char *>(value)
                                                     : nullptr;
}

bool VersionBlock::Translation(char key[9], WORD *language) {
  void *value;
  UINT length;
  if (!Query("\\VarFileInfo\\Translation", &value, &length) || length < 4) return false;
  const WORD *pair = static_cast<const WORD *>(value);
  wsnprintf(key, 9, "%04x%04x", pair[0], pair[1]);
  if (language != nullptr) *language = pair[0];
  return true;
}

void CopyVersionText(char *dest, size_t size, const char *value, UINT length) {
  size_t n = 0;
  for (; n + 1 < size && n < length && value[n] != '\0'; ++n) dest[n] = value[n];
  dest[n] = '\0';
}

}  // namespace kt
