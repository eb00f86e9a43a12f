// File-name surgery on ANSI paths: portable, no platform calls.
#include <cstring>

#include "ktutil.h"

namespace {

constexpr int kMaxPath = 260;

// Where the name starts: after a drive ("X:") and after the last '\' or '/',
// the same split the C run-time's path splitter makes.
size_t NameOffset(const char *path) {
  size_t start = (path[0] != '\0' && path[1] == ':') ? 2 : 0;
  size_t name = start;
  for (size_t i = start; path[i] != '\0'; ++i) {
    if (path[i] == '\\' || path[i] == '/') name = i + 1;
  }
  return name;
}

}  // namespace

extern "C" LPSTR KTAPI ExtractFileBase(LPCSTR path, LPSTR dest, int size) {
  if (path == nullptr) path = "";
  return strncpy0(dest, path + NameOffset(path), size);
}

extern "C" LPSTR KTAPI ChangeFileBase(LPSTR path, LPCSTR newBase) {
  if (path == nullptr) return path;
  size_t keep = NameOffset(path);
  // A path already longer than the buffer promises keeps what fits.
  if (keep > kMaxPath - 1) keep = kMaxPath - 1;
  strncpy0(path + keep, newBase, kMaxPath - static_cast<int>(keep));
  return path;
}
