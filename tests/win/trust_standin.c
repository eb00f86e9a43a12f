/* Stands in for the trust-verification library: trusts files whose name
   says "trusted", distrusts those that say "untrusted", cannot tell for the
   rest, and refuses calls not made in the published-software form. */
#include <wchar.h>
#include <windows.h>

static const GUID kPublishedSoftware = {
    0x64B9D180, 0x8DA2, 0x11CF, {0x87, 0x36, 0x00, 0xAA, 0x00, 0xA4, 0x85, 0xEB}};
static const GUID kPeImage = {
    0x43C9A1E0, 0x8DA0, 0x11CF, {0x87, 0x36, 0x00, 0xAA, 0x00, 0xA4, 0x85, 0xEB}};

/* Lets the tests tell this library from the system's. */
__declspec(dllexport) int KtStandIn(void) { return 1; }

/* data: client token, subject type, subject (file handle, path). */
__declspec(dllexport) LONG WINAPI WinVerifyTrust(HWND window, GUID *action, LPVOID data) {
  void *const *act = (void *const *)data;
  const WCHAR *path = act ? ((const WCHAR *const *)act[2])[1] : NULL;
  if (window != (HWND)INVALID_HANDLE_VALUE || !IsEqualGUID(action, &kPublishedSoftware) ||
      act[0] != NULL || !IsEqualGUID((const GUID *)act[1], &kPeImage) || path == NULL)
    return E_INVALIDARG;
  path = wcsrchr(path, L'\\') ? wcsrchr(path, L'\\') + 1 : path;
  if (wcsstr(path, L"untrusted") != NULL) return (LONG)0x800B0004;
  return wcsstr(path, L"trusted") != NULL ? 0 : (LONG)0x800B0100; /* no signature */
}
