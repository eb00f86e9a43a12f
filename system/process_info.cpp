// Which program stands behind a process, and the long form of a path.
#include <shlobj.h>
#include <string.h>

#include <memory>
#include <new>

#include "ktutil.h"
#include "lifecycle.h"
#include "system/owned_handle.h"
#include "system/process_entries.h"

namespace {

// "Unknown Process: %d (...)" texts of the string table.
constexpr UINT kInvalidHandle = 3051, kToolHelpError = 3052, kNotFound = 3053,
               kNotInitialized = 3054;

// Writes "Unknown Process: <id> (<why>)" and answers FALSE.
BOOL UnknownProcess(LPSTR name, int size, UINT message, DWORD id) {
  fmtmsg(name, size, kt::ModuleHandle(), message, static_cast<int>(id));
  return FALSE;
}

BOOL NtProcessPath(HANDLE process, DWORD id, LPSTR name, int size) {
  if (process == nullptr) return UnknownProcess(name, size, kInvalidHandle, id);
  kt::ProcessStatusEntries entries;
  if (!kt::GetProcessStatusEntries(&entries))
    return UnknownProcess(name, size, kNotInitialized, id);
  char path[MAX_PATH];
  if (entries.moduleFileName(process, nullptr, path, MAX_PATH) == 0)
    return UnknownProcess(name, size, kNotFound, id);
  path[MAX_PATH - 1] = '\0';
  if (KTGetLongPathName(path, name, static_cast<DWORD>(size)) == 0)
    strncpy0(name, path, size);
  return TRUE;
}

BOOL SnapshotProcessPath(DWORD id, LPSTR name, int size, DWORD *parentId) {
  kt::ToolHelpEntries entries;
  if (!kt::GetToolHelpEntries(&entries))
    return UnknownProcess(name, size, kNotInitialized, id);
  kt::OwnedHandle snapshot(entries.snapshot(TH32CS_SNAPPROCESS, id));
  if (!snapshot) return UnknownProcess(name, size, kToolHelpError, id);
  name[0] = '\0';
  PROCESSENTRY32 entry = kt::EmptyProcessEntry();
  for (BOOL more = entries.first(snapshot.get(), &entry); more;
       more = entries.next(snapshot.get(), &entry)) {
    if (entry.th32ProcessID != id) continue;
    strncpy0(name, entry.szExeFile, size);
    if (parentId != nullptr) *parentId = entry.th32ParentProcessID;
    break;
  }
  if (name[0] == '\0') return UnknownProcess(name, size, kNotFound, id);
  return TRUE;
}

// The shell resolves every component to its long name; false when it cannot.
bool ShellLongPath(const char *path, DWORD size, char longPath[MAX_PATH]) {
  // The wide copy is bounded like the caller's buffer: a path that would not
  // fit there is not resolved.
  const int wideLength = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  if (wideLength <= 1 || static_cast<DWORD>(wideLength) > size) return false;
  std::unique_ptr<WCHAR[]> wide(new (std::nothrow) WCHAR[wideLength]);
  if (!wide) return false;
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide.get(), wideLength);

  IShellFolder *desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) return false;
  LPITEMIDLIST items = nullptr;
  const HRESULT parsed =
      desktop->ParseDisplayName(nullptr, nullptr, wide.get(), nullptr, &items, nullptr);
  desktop->Release();
  const bool ok =
      SUCCEEDED(parsed) && items != nullptr && SHGetPathFromIDListA(items, longPath);
  IMalloc *shellAllocator = nullptr;
  if (items != nullptr && SUCCEEDED(SHGetMalloc(&shellAllocator))) {
    shellAllocator->Free(items);
    shellAllocator->Release();
  }
  return ok;
}

}  // namespace

extern "C" BOOL KTAPI KTGetProcessInfo(HANDLE process, DWORD processId, LPSTR name,
                                       int size, DWORD *parentId) {
  if (name == nullptr || size <= 0) return FALSE;
  return kt::NtFlag() ? NtProcessPath(process, processId, name, size)
                      : SnapshotProcessPath(processId, name, size, parentId);
}

extern "C" DWORD KTAPI KTGetLongPathName(LPCSTR path, LPSTR dest, DWORD size) {
  if (dest == nullptr || size == 0) return 0;
  if (path == nullptr) path = "";
  char longPath[MAX_PATH];
  strncpy0(dest, ShellLongPath(path, size, longPath) ? longPath : path,
           size > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(size));
  return static_cast<DWORD>(strlen(dest));
}
