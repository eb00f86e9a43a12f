// Small file and folder helpers.
#include <shlobj.h>

#include <string>

#include "ktutil.h"

namespace {

constexpr int kDocumentsFolder = CSIDL_PERSONAL;  // 5

// Cut to the caller's size and terminated, whatever the platform does with
// a short buffer.
void CopyCurrentDirectory(LPSTR dest, UINT size) {
  if (dest == nullptr || size == 0) return;
  std::string dir(GetCurrentDirectoryA(0, nullptr) + 1, '\0');
  const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(dir.size()), &dir[0]);
  dir.resize(length < dir.size() ? length : 0);
  strncpy0(dest, dir.c_str(), size > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(size));
}

}  // namespace

extern "C" BOOL KTAPI FileExists(LPCSTR path) {
  return path != nullptr && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

extern "C" BOOL KTAPI MoveFileExEx(LPCSTR source, LPCSTR destination) {
  // Copy and delete, so a move across volumes works everywhere and an
  // existing destination is never replaced.
  if (!CopyFileA(source, destination, TRUE)) return FALSE;
  if (DeleteFileA(source)) return TRUE;
  DeleteFileA(destination);
  return FALSE;
}

extern "C" BOOL KTAPI GetUserDirectory(HWND owner, LPSTR dest, UINT size) {
  LPITEMIDLIST location = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, kDocumentsFolder, &location)))
    location = nullptr;
  if (location != nullptr && dest != nullptr && size >= MAX_PATH) {
    if (!SHGetPathFromIDListA(location, dest)) CopyCurrentDirectory(dest, size);
  } else {
    CopyCurrentDirectory(dest, size);
  }
  if (location != nullptr) {
    IMalloc *shellAllocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&shellAllocator))) {
      shellAllocator->Free(location);
      shellAllocator->Release();
    }
  }
  return TRUE;
}
