// A file's version resource, checked before it is queried.
#pragma once

#include <windows.h>

#include <memory>

namespace kt {

class VersionBlock {
 public:
  enum Outcome { kNoResource, kUnreadable, kRead };

  // Through the version API. kNoResource also when memory runs out.
  Outcome LoadFile(const char *path);
  // A resource read by hand (a device driver's).
  bool LoadBytes(const void *bytes, size_t count);

  // A value of the resource, as the version API answers it.
  bool Query(const char *subBlock, void **value, UINT *length);
  // A text value that exists with a non-zero length.
  const char *Text(const char *key, const char *name, UINT *length);
  // The language and code page key of the first translation ("%04x%04x").
  bool Translation(char key[9], WORD *language);

 private:
  std::unique_ptr<char[]> data_;
};

// Copies a text value cut to size (> 0) and terminated: the version API's
// length counts the terminator, but a value need not have one.
void CopyVersionText(char *dest, size_t size, const char *value, UINT length);

}  // namespace kt
