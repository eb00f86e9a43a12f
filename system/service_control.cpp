// The product's main window and its services' descriptions.
#include "ktutil.h"
#include "lifecycle.h"

namespace {

constexpr UINT kPrepareToCloseCommand = 129;

using ChangeConfig2 = BOOL(WINAPI *)(SC_HANDLE service, DWORD level, LPVOID info);

// Only the product's two services have descriptions of their own.
UINT DescriptionId(LPCSTR service) {
  if (service == nullptr) return 0;
  if (lstrcmpiA(service, "ktmon") == 0) return 30;
  if (lstrcmpiA(service, "minilog") == 0) return 29;
  return 0;
}

}  // namespace

extern "C" BOOL KTAPI PrepareToClose(void) {
  HWND main = FindWindowA("WRFrameWnd", nullptr);
  if (main == nullptr) return FALSE;
  PostMessageA(main, WM_COMMAND, kPrepareToCloseCommand, 0);
  PostMessageA(main, WM_CLOSE, 0, 0);
  return TRUE;
}

// Descriptions came with Windows 2000: before it there is nothing to set,
// and the entry that sets them is looked up by name.
extern "C" DWORD KTAPI KTChangeServiceDesc(SC_HANDLE service, LPCSTR name) {
  if (!IsWin2K()) return 0;
  const UINT id = DescriptionId(name);
  if (id == 0) return ERROR_RESOURCE_NAME_NOT_FOUND;
  char text[1024];
  if (LoadStringA(kt::ModuleHandle(), id, text, sizeof text) <= 0) return GetLastError();
  HMODULE advapi = LoadLibraryA("advapi32.dll");
  if (advapi == nullptr) return GetLastError();
  const auto change = reinterpret_cast<ChangeConfig2>(
      reinterpret_cast<void *>(GetProcAddress(advapi, "ChangeServiceConfig2A")));
  SERVICE_DESCRIPTIONA description = {text};
  DWORD result = ERROR_SUCCESS;
  if (change == nullptr || !change(service, SERVICE_CONFIG_DESCRIPTION, &description))
    result = GetLastError();
  FreeLibrary(advapi);
  return result;
}
